#pragma once
// A filter expression, as a dataset's Filter holds it, parsed once and then
// evaluated for each record.
//
// The language:
//   field names    Name, [First name], "First name"
//   literals       'text' ('' for a quote), 12, 1.5, TRUE, FALSE, NULL
//   comparisons    =  <>  (also !=)  <  >  <=  >=
//   logic          AND, OR, NOT, parentheses
//   arithmetic     + - * /   (+ also joins texts; date +/- days; date - date)
//   null tests     X IS NULL, X IS NOT NULL, X = NULL, X <> NULL
//   patterns       X LIKE 'a%b_'  ('%' any run of characters, '_' one), NOT LIKE
//   lists          X IN (1, 2, 3), X NOT IN ('a', 'b')
// Keywords are case-insensitive.  Numbers are written with a '.' as decimal
// point whatever the locale.
//
// Comparing: a literal takes the kind of the other side (so Born > '1.2.1990'
// reads the text as a date in the locale's short format, Qty = '12' as a
// number); a text that does not convert raises EDatabaseError naming the
// field.  A comparison, LIKE or IN with a null operand is false; only the
// null tests select nulls.  A string literal ending in '*' compared with =
// or <> compares only what precedes the '*' with the start of the other text
// (partial compare), unless foNoPartialCompare is given.  foCaseInsensitive
// makes every text comparison and pattern ignore case.

#include "data/FilterNodes.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

enum TFilterOption { foCaseInsensitive, foNoPartialCompare };

class TFilterOptions {
public:
    constexpr TFilterOptions() = default;
    constexpr TFilterOptions(std::initializer_list<TFilterOption> options)
    {
        for (TFilterOption option : options)
            FBits |= Bit(option);
    }
    constexpr bool Contains(TFilterOption option) const { return (FBits & Bit(option)) != 0; }
    constexpr void Include(TFilterOption option) { FBits |= Bit(option); }
    constexpr void Exclude(TFilterOption option) { FBits &= ~Bit(option); }
    constexpr bool operator==(const TFilterOptions&) const = default;

private:
    static constexpr unsigned Bit(TFilterOption option) { return 1u << static_cast<unsigned>(option); }
    unsigned FBits = 0;
};

class TFilterExpression {
public:
    // Parses `text`; raises EDatabaseError ("Filter expression error at
    // position N: ...") when it is not a valid expression.  A text of blanks
    // only is the empty filter, which every record passes.
    explicit TFilterExpression(const std::string& text, TFilterOptions options = {});
    ~TFilterExpression();
    TFilterExpression(TFilterExpression&&) noexcept;
    TFilterExpression& operator=(TFilterExpression&&) noexcept;

    const std::string& Text() const { return FText; }
    TFilterOptions Options() const { return FOptions; }
    bool IsEmpty() const { return !FRoot; }

    // Whether the record whose fields `fieldValue` reads passes the filter.
    // A field value that is Empty counts as null.  Raises EDatabaseError when
    // a value does not convert for a comparison.
    bool Evaluate(const TFilterFieldValue& fieldValue) const;

    // The fields the expression reads, each once, in order of appearance.
    std::vector<std::string> FieldNames() const;

private:
    std::string FText;
    TFilterOptions FOptions;
    TFilterNodePtr FRoot;
};
