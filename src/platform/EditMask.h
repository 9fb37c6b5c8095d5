#pragma once
// TEditMask: the classic edit mask of a field (TField::EditMask) and the
// editing rules it sets.  A mask has up to three parts separated by ";":
//
//   picture ; save-literals ; blank      e.g.  "!99/99/0000;1;_"
//
// Picture characters:
//   0  digit, required            9  digit, optional
//   #  digit or sign, optional    L  letter, required      l  letter, optional
//   A  letter or digit, required  a  letter or digit, optional
//   C  any character, required    c  any character, optional
//   >  following letters upper case    <  lower case    <>  no conversion
//   !  optional characters are trimmed from the start of the value
//      rather than from its end
//   \  the next character is a literal
//   _  a literal blank
//   :  /   the locale's time and date separators, as literals
//   any other character is a literal.
// save-literals "0" stores the value without the literals (any other
// character, or none, keeps them); blank is the character shown in empty
// positions ("_" unless given).
//
// The editor shows the edit text: one character per position of the
// picture, literals in place, empty positions as the blank character.  The
// value is what a field receives from it.  Texts are UTF-32 so that one
// position is one character.

#include "platform/Utf8.h"

#include <string>
#include <string_view>
#include <vector>

class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(std::string_view mask);

    bool Empty() const { return FPositions.empty(); }
    bool SaveLiterals() const { return FSaveLiterals; }
    char32_t BlankChar() const { return FBlank; }
    int Length() const { return static_cast<int>(FPositions.size()); }
    bool IsLiteral(int position) const;
    bool IsRequired(int position) const;

    // The edit text with every input position empty.
    std::u32string BlankText() const;
    // The edit text that shows a value: with saved literals the value lines
    // up with the positions; without, its characters fill the input
    // positions in order (from the end under "!").  Characters a position
    // does not accept leave it empty.
    std::u32string EditTextFor(const std::u32string& value) const;
    // The value of an edit text: empty positions as blanks, literals only
    // when saved, trailing (under "!" leading) blanks trimmed.  A text with
    // every input position empty gives an empty value.
    std::u32string ValueOf(const std::u32string& editText) const;
    // The first input position whose character the picture refuses (a
    // required one left empty, or a character of the wrong kind), -1 when
    // the text is complete.  A text with every input position empty counts
    // as complete: it clears the value.
    int FirstInvalidPosition(const std::u32string& editText) const;

    // Types a character at the caret: the first input position at or after
    // it takes the character (case converted) and the caret moves past it;
    // a character equal to the literal at the caret steps over that
    // literal.  False (nothing changed) when the character is refused.
    bool TypeChar(std::u32string& editText, int& caret, char32_t character) const;
    // Empties the input positions in [from, to).
    void Erase(std::u32string& editText, int from, int to) const;
    // Backspace: empties the input position before the caret and moves the
    // caret there; false when there is none.
    bool EraseBefore(std::u32string& editText, int& caret) const;
    // The first input position at or after `position`, Length() when none.
    int NextInputPosition(int position) const;
    // The last input position before `position`, -1 when none.
    int PriorInputPosition(int position) const;

    // Whether the position accepts the character (before case conversion).
    bool Accepts(int position, char32_t character) const;
    // The character as the position stores it (case conversion).
    char32_t Converted(int position, char32_t character) const;

private:
    enum TKind : char { mkLiteral, mkDigit, mkDigitOrSign, mkLetter, mkAlphaNumeric, mkAny };
    enum TCase : char { mcNone, mcUpper, mcLower };
    struct TPosition {
        TKind Kind = mkLiteral;
        bool Required = false;
        TCase Case = mcNone;
        char32_t Literal = 0;
    };

    void ParsePicture(const std::u32string& picture);
    bool AllInputEmpty(const std::u32string& editText) const;

    std::vector<TPosition> FPositions;
    bool FSaveLiterals = true;
    bool FLeadingBlanks = false;
    char32_t FBlank = U'_';
};
