#include "platform/EditMask.h"

#include "platform/FormatSettings.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace {

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

// Letters: ASCII letters and every character from U+00C0 on except the
// Latin-1 multiplication and division signs.
bool IsLetter(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'))
        return true;
    return c >= 0xC0 && c != 0xD7 && c != 0xF7;
}

char32_t ToUpper(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    return c;
}

char32_t ToLower(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    return c;
}

// Splits the mask at the separators that are not escaped.
std::vector<std::u32string> SplitFields(const std::u32string& mask)
{
    std::vector<std::u32string> fields(1);
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == U'\\' && i + 1 < mask.size()) {
            fields.back() += mask[i];
            fields.back() += mask[++i];
        } else if (mask[i] == U';') {
            fields.emplace_back();
        } else {
            fields.back() += mask[i];
        }
    }
    return fields;
}

} // namespace

TEditMask::TEditMask(std::string_view mask)
{
    const std::vector<std::u32string> fields = SplitFields(Utf8ToUtf32(mask));
    if (fields.size() > 1 && !fields[1].empty())
        FSaveLiterals = fields[1][0] != U'0';
    if (fields.size() > 2 && !fields[2].empty())
        FBlank = fields[2][0];
    ParsePicture(fields[0]);
}

void TEditMask::ParsePicture(const std::u32string& picture)
{
    const TFormatSettings& settings = FormatSettings();
    TCase caseMode = mcNone;
    for (size_t i = 0; i < picture.size(); ++i) {
        const char32_t c = picture[i];
        TPosition position;
        position.Case = caseMode;
        switch (c) {
        case U'>': caseMode = mcUpper; continue;
        case U'<':
            if (i + 1 < picture.size() && picture[i + 1] == U'>') {
                ++i;
                caseMode = mcNone;
            } else {
                caseMode = mcLower;
            }
            continue;
        case U'!': FLeadingBlanks = true; continue;
        case U'\\':
            if (i + 1 >= picture.size())
                continue;
            position.Literal = picture[++i];
            break;
        case U'_': position.Literal = U' '; break;
        case U':': position.Literal = static_cast<unsigned char>(settings.TimeSeparator); break;
        case U'/': position.Literal = static_cast<unsigned char>(settings.DateSeparator); break;
        case U'0': position.Kind = mkDigit; position.Required = true; break;
        case U'9': position.Kind = mkDigit; break;
        case U'#': position.Kind = mkDigitOrSign; break;
        case U'L': position.Kind = mkLetter; position.Required = true; break;
        case U'l': position.Kind = mkLetter; break;
        case U'A': position.Kind = mkAlphaNumeric; position.Required = true; break;
        case U'a': position.Kind = mkAlphaNumeric; break;
        case U'C': position.Kind = mkAny; position.Required = true; break;
        case U'c': position.Kind = mkAny; break;
        default: position.Literal = c; break;
        }
        FPositions.push_back(position);
    }
}

bool TEditMask::IsLiteral(int position) const
{
    return position >= 0 && position < Length() && FPositions[static_cast<size_t>(position)].Kind == mkLiteral;
}

bool TEditMask::IsRequired(int position) const
{
    return position >= 0 && position < Length() && FPositions[static_cast<size_t>(position)].Required;
}

bool TEditMask::Accepts(int position, char32_t c) const
{
    if (position < 0 || position >= Length() || c < 32)
        return false;
    switch (FPositions[static_cast<size_t>(position)].Kind) {
    case mkLiteral: return false;
    case mkDigit: return IsDigit(c);
    case mkDigitOrSign: return IsDigit(c) || c == U'+' || c == U'-';
    case mkLetter: return IsLetter(c);
    case mkAlphaNumeric: return IsLetter(c) || IsDigit(c);
    case mkAny: return true;
    }
    return false;
}

char32_t TEditMask::Converted(int position, char32_t c) const
{
    switch (FPositions[static_cast<size_t>(position)].Case) {
    case mcUpper: return ToUpper(c);
    case mcLower: return ToLower(c);
    case mcNone: break;
    }
    return c;
}

std::u32string TEditMask::BlankText() const
{
    std::u32string text;
    for (const TPosition& position : FPositions)
        text += position.Kind == mkLiteral ? position.Literal : FBlank;
    return text;
}

std::u32string TEditMask::EditTextFor(const std::u32string& value) const
{
    std::u32string text = BlankText();
    auto put = [&](int position, char32_t c) {
        if (c != U' ' && c != FBlank && Accepts(position, c))
            text[static_cast<size_t>(position)] = Converted(position, c);
    };
    if (FSaveLiterals) {
        for (int i = 0; i < Length() && i < static_cast<int>(value.size()); ++i)
            if (!IsLiteral(i))
                put(i, value[static_cast<size_t>(i)]);
        return text;
    }
    std::vector<int> inputs;
    for (int i = 0; i < Length(); ++i)
        if (!IsLiteral(i))
            inputs.push_back(i);
    const size_t count = std::min(inputs.size(), value.size());
    const size_t firstInput = FLeadingBlanks ? inputs.size() - count : 0;
    const size_t firstValue = FLeadingBlanks ? value.size() - count : 0;
    for (size_t k = 0; k < count; ++k)
        put(inputs[firstInput + k], value[firstValue + k]);
    return text;
}

bool TEditMask::AllInputEmpty(const std::u32string& editText) const
{
    for (int i = 0; i < Length(); ++i)
        if (!IsLiteral(i) && i < static_cast<int>(editText.size()) && editText[static_cast<size_t>(i)] != FBlank &&
            editText[static_cast<size_t>(i)] != U' ')
            return false;
    return true;
}

std::u32string TEditMask::ValueOf(const std::u32string& editText) const
{
    if (AllInputEmpty(editText))
        return std::u32string();
    std::u32string value;
    for (int i = 0; i < Length(); ++i) {
        const char32_t c = i < static_cast<int>(editText.size()) ? editText[static_cast<size_t>(i)] : FBlank;
        if (IsLiteral(i)) {
            if (FSaveLiterals)
                value += FPositions[static_cast<size_t>(i)].Literal;
        } else {
            value += c == FBlank ? U' ' : c;
        }
    }
    if (FLeadingBlanks) {
        const size_t first = value.find_first_not_of(U' ');
        value.erase(0, first == std::u32string::npos ? value.size() : first);
    } else {
        const size_t last = value.find_last_not_of(U' ');
        value.erase(last == std::u32string::npos ? 0 : last + 1);
    }
    return value;
}

int TEditMask::FirstInvalidPosition(const std::u32string& editText) const
{
    if (AllInputEmpty(editText))
        return -1;
    for (int i = 0; i < Length(); ++i) {
        if (IsLiteral(i))
            continue;
        const char32_t c = i < static_cast<int>(editText.size()) ? editText[static_cast<size_t>(i)] : FBlank;
        const bool empty = c == FBlank || c == U' ';
        if (empty ? IsRequired(i) : !Accepts(i, c))
            return i;
    }
    return -1;
}

int TEditMask::NextInputPosition(int position) const
{
    for (int i = std::max(position, 0); i < Length(); ++i)
        if (!IsLiteral(i))
            return i;
    return Length();
}

int TEditMask::PriorInputPosition(int position) const
{
    for (int i = std::min(position, Length()) - 1; i >= 0; --i)
        if (!IsLiteral(i))
            return i;
    return -1;
}

bool TEditMask::TypeChar(std::u32string& editText, int& caret, char32_t c) const
{
    if (editText.size() != FPositions.size())
        editText = EditTextFor(ValueOf(editText));
    if (IsLiteral(caret) && FPositions[static_cast<size_t>(caret)].Literal == c) {
        ++caret;
        return true;
    }
    const int position = NextInputPosition(caret);
    if (position >= Length() || !Accepts(position, c))
        return false;
    editText[static_cast<size_t>(position)] = Converted(position, c);
    caret = position + 1;
    // The caret waits before the next input position, past the literals.
    const int next = NextInputPosition(caret);
    if (next < Length())
        caret = next;
    return true;
}

void TEditMask::Erase(std::u32string& editText, int from, int to) const
{
    for (int i = std::max(from, 0); i < to && i < static_cast<int>(editText.size()) && i < Length(); ++i)
        if (!IsLiteral(i))
            editText[static_cast<size_t>(i)] = FBlank;
}

bool TEditMask::EraseBefore(std::u32string& editText, int& caret) const
{
    const int position = PriorInputPosition(caret);
    if (position < 0)
        return false;
    Erase(editText, position, position + 1);
    caret = position;
    return true;
}
