#include "data/FilterNodes.h"

#include "data/FilterText.h"
#include "platform/DateTimeFormat.h"
#include "platform/Exceptions.h"
#include "platform/FloatFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <strings.h>

namespace {

[[noreturn]] void RaiseFilterError(const std::string& detail)
{
    throw EDatabaseError("Filter expression: " + detail);
}

const char* KindName(TFilterKind kind)
{
    switch (kind) {
    case TFilterKind::Null: return "null";
    case TFilterKind::Boolean: return "logical value";
    case TFilterKind::Number: return "number";
    case TFilterKind::Date: return "date";
    case TFilterKind::String: return "text";
    case TFilterKind::Other: return "binary value";
    }
    return "value";
}

std::string Trim(const std::string& text)
{
    size_t first = 0, last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

std::optional<TVariant> TextToKind(const std::string& text, TFilterKind kind)
{
    std::string trimmed = Trim(text);
    switch (kind) {
    case TFilterKind::Number: {
        int64_t i;
        if (TryStrToInt64(trimmed, i))
            return TVariant(i);
        double d;
        if (TryStrToFloat(trimmed, d))
            return TVariant(d);
        return std::nullopt;
    }
    case TFilterKind::Date: {
        TDateTime d;
        if (TryStrToDateTime(trimmed, d) || TryStrToDate(trimmed, d))
            return TVariant::FromDateTime(d);
        return std::nullopt;
    }
    case TFilterKind::Boolean: {
        for (const char* word : {"true", "t", "yes", "y"})
            if (strcasecmp(trimmed.c_str(), word) == 0)
                return TVariant(true);
        for (const char* word : {"false", "f", "no", "n"})
            if (strcasecmp(trimmed.c_str(), word) == 0)
                return TVariant(false);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::string ValueText(const TVariant& value)
{
    switch (FilterKindOf(value)) {
    case TFilterKind::Date: return DateTimeToStr(value.AsDateTime());
    case TFilterKind::Boolean: return value.AsBoolean() ? "True" : "False";
    default: return value.AsString();
    }
}

std::optional<TVariant> ConvertValue(const TVariant& value, TFilterKind kind)
{
    TFilterKind from = FilterKindOf(value);
    if (from == kind)
        return value;
    if (from == TFilterKind::Other || kind == TFilterKind::Other || kind == TFilterKind::Null)
        return std::nullopt;
    if (from == TFilterKind::String)
        return TextToKind(value.AsString(), kind);
    if (kind == TFilterKind::String)
        return TVariant(ValueText(value));
    if (kind == TFilterKind::Boolean)
        return TVariant(value.AsDouble() != 0);
    if (from == TFilterKind::Boolean)
        return std::nullopt;
    if (kind == TFilterKind::Date)
        return TVariant::FromDateTime(value.AsDouble());
    return TVariant(value.AsDouble());   // a date as a number of days
}

bool IsIntegral(const TVariant& v) { return v.VarType() == varInteger || v.VarType() == varInt64; }

// A double that stands for a currency amount (12.345 against a currency
// field) compares as that amount: a double rarely holds a decimal exactly.
std::optional<TVariant> AsCurrencyAmount(const TVariant& value)
{
    if (value.VarType() != varDouble)
        return std::nullopt;
    double d = value.AsDouble();
    if (!std::isfinite(d) || std::fabs(d) > 9e14)
        return std::nullopt;
    TCurrency amount = TCurrency::FromDouble(d);
    if (amount.ToDouble() != d)
        return std::nullopt;
    return TVariant(amount);
}

int CompareNumbers(const TVariant& a, const TVariant& b)
{
    if (a.VarType() == varCurrency)
        if (std::optional<TVariant> amount = AsCurrencyAmount(b))
            return TVariant::Compare(a, *amount);
    if (b.VarType() == varCurrency)
        if (std::optional<TVariant> amount = AsCurrencyAmount(a))
            return TVariant::Compare(*amount, b);
    return TVariant::Compare(a, b);
}

int SameKindCompare(const TVariant& a, const TVariant& b, TFilterKind kind, bool caseInsensitive)
{
    switch (kind) {
    case TFilterKind::Number:
        return CompareNumbers(a, b);
    case TFilterKind::String:
        return CompareText(a.AsString(), b.AsString(), caseInsensitive);
    case TFilterKind::Boolean:
        return static_cast<int>(a.AsBoolean()) - static_cast<int>(b.AsBoolean());
    default:
        return TVariant::Compare(a, b);
    }
}

bool IsTemporalOrNumber(TFilterKind kind) { return kind == TFilterKind::Number || kind == TFilterKind::Date; }

} // namespace

TFilterKind FilterKindOf(const TVariant& value)
{
    switch (value.VarType()) {
    case varEmpty: case varNull: return TFilterKind::Null;
    case varBoolean: return TFilterKind::Boolean;
    case varInteger: case varInt64: case varDouble: case varCurrency: return TFilterKind::Number;
    case varDate: return TFilterKind::Date;
    case varString: return TFilterKind::String;
    default: return TFilterKind::Other;
    }
}

// ---- TFilterNode ----------------------------------------------------------

bool TFilterNode::Test(const TFilterFieldValue& fields) const
{
    TVariant value = Value(fields);
    switch (FilterKindOf(value)) {
    case TFilterKind::Null: return false;
    case TFilterKind::Boolean: return value.AsBoolean();
    default: break;
    }
    std::string name = FieldName();
    if (!name.empty())
        RaiseFilterError("field '" + name + "' is not a logical field and cannot be used as a condition");
    RaiseFilterError("the expression at position " + std::to_string(Position()) + " is not a condition");
}

TVariant TFilterNode::ConvertTo(const TVariant& value, TFilterKind kind, const TFilterNode& other) const
{
    if (std::optional<TVariant> converted = ConvertValue(value, kind))
        return *converted;
    std::string text = FilterKindOf(value) == TFilterKind::Other ? std::string(KindName(TFilterKind::Other)) : "'" + ValueText(value) + "'";
    std::string detail = text + " is not a valid " + KindName(kind);
    std::string otherName = other.FieldName();
    if (!otherName.empty())
        detail += " for field '" + otherName + "'";
    else
        detail += " (position " + std::to_string(Position()) + ")";
    RaiseFilterError(detail);
}

// ---- values ---------------------------------------------------------------

TVariant TFieldNode::Value(const TFilterFieldValue& fields) const
{
    TVariant value = fields(FName);
    return value.IsEmpty() ? TVariant::Null() : value;
}

void TFieldNode::CollectFieldNames(std::vector<std::string>& names) const
{
    auto sameName = [this](const std::string& name) { return strcasecmp(name.c_str(), FName.c_str()) == 0; };
    if (std::find_if(names.begin(), names.end(), sameName) == names.end())
        names.push_back(FName);
}

TVariant TLiteralNode::ConvertTo(const TVariant& value, TFilterKind kind, const TFilterNode& other) const
{
    std::optional<TVariant>& cached = FConverted[static_cast<size_t>(kind)];
    if (!cached)
        cached = TFilterNode::ConvertTo(value, kind, other);
    return *cached;
}

TVariant TArithmeticNode::Value(const TFilterFieldValue& fields) const
{
    TVariant l = FLeft->Value(fields), r = FRight->Value(fields);
    TFilterKind kl = FilterKindOf(l), kr = FilterKindOf(r);
    if (kl == TFilterKind::Null || kr == TFilterKind::Null)
        return TVariant::Null();
    if (FOp == TArithmeticOp::Add && kl == TFilterKind::String && kr == TFilterKind::String)
        return TVariant(l.AsString() + r.AsString());
    if (kl == TFilterKind::String) {
        l = FLeft->ConvertTo(l, kr == TFilterKind::String ? TFilterKind::Number : kr, *FRight);
        kl = FilterKindOf(l);
    }
    if (kr == TFilterKind::String) {
        r = FRight->ConvertTo(r, kl, *FLeft);
        kr = FilterKindOf(r);
    }
    if (!IsTemporalOrNumber(kl) || !IsTemporalOrNumber(kr))
        RaiseFilterError("arithmetic needs numbers or dates (position " + std::to_string(Position()) + ")");

    bool leftDate = kl == TFilterKind::Date, rightDate = kr == TFilterKind::Date;
    if (leftDate || rightDate) {
        double a = l.AsDouble(), b = r.AsDouble();
        if (FOp == TArithmeticOp::Add && !(leftDate && rightDate))
            return TVariant::FromDateTime(a + b);
        if (FOp == TArithmeticOp::Subtract)
            return leftDate && rightDate ? TVariant(a - b) : (leftDate ? TVariant::FromDateTime(a - b) : TVariant(a - b));
        RaiseFilterError("dates can only be added to or subtracted from (position " + std::to_string(Position()) + ")");
    }

    if (FOp != TArithmeticOp::Divide && IsIntegral(l) && IsIntegral(r)) {
        int64_t a = l.AsInt64(), b = r.AsInt64(), result;
        bool overflow = FOp == TArithmeticOp::Add ? __builtin_add_overflow(a, b, &result)
                      : FOp == TArithmeticOp::Subtract ? __builtin_sub_overflow(a, b, &result)
                      : __builtin_mul_overflow(a, b, &result);
        if (!overflow)
            return TVariant(result);
    }
    double a = l.AsDouble(), b = r.AsDouble();
    switch (FOp) {
    case TArithmeticOp::Add: return TVariant(a + b);
    case TArithmeticOp::Subtract: return TVariant(a - b);
    case TArithmeticOp::Multiply: return TVariant(a * b);
    case TArithmeticOp::Divide:
        if (b == 0)
            RaiseFilterError("division by zero (position " + std::to_string(Position()) + ")");
        return TVariant(a / b);
    }
    return TVariant::Null();
}

void TArithmeticNode::CollectFieldNames(std::vector<std::string>& names) const
{
    FLeft->CollectFieldNames(names);
    FRight->CollectFieldNames(names);
}

TVariant TNegateNode::Value(const TFilterFieldValue& fields) const
{
    TVariant v = FOperand->Value(fields);
    switch (v.VarType()) {
    case varEmpty: case varNull: return TVariant::Null();
    case varInteger: case varInt64:
        if (v.AsInt64() != INT64_MIN)
            return TVariant(-v.AsInt64());
        return TVariant(-v.AsDouble());
    case varDouble: return TVariant(-v.AsDouble());
    case varCurrency: return TVariant(-v.AsCurrency());
    default:
        RaiseFilterError("only numbers can be negated (position " + std::to_string(Position()) + ")");
    }
}

// ---- conditions -----------------------------------------------------------

bool TLogicalNode::Test(const TFilterFieldValue& fields) const
{
    bool left = FLeft->Test(fields);
    if (FIsAnd ? !left : left)
        return left;
    return FRight->Test(fields);
}

void TLogicalNode::CollectFieldNames(std::vector<std::string>& names) const
{
    FLeft->CollectFieldNames(names);
    FRight->CollectFieldNames(names);
}

std::optional<int> CompareFilterValues(const TFilterNode& leftNode, const TVariant& left,
                                       const TFilterNode& rightNode, const TVariant& right,
                                       bool caseInsensitive)
{
    TFilterKind kl = FilterKindOf(left), kr = FilterKindOf(right);
    if (kl == TFilterKind::Null || kr == TFilterKind::Null)
        return std::nullopt;
    if (kl == kr)
        return SameKindCompare(left, right, kl, caseInsensitive);
    if (IsTemporalOrNumber(kl) && IsTemporalOrNumber(kr))
        return TVariant::Compare(left, right);
    if (kl == TFilterKind::Boolean && kr == TFilterKind::Number)
        return SameKindCompare(left, rightNode.ConvertTo(right, kl, leftNode), kl, caseInsensitive);
    if (kr == TFilterKind::Boolean && kl == TFilterKind::Number)
        return SameKindCompare(leftNode.ConvertTo(left, kr, rightNode), right, kr, caseInsensitive);

    // A literal takes the kind of the other side; between two computed
    // values, text takes the kind of the other side.
    bool convertRight = rightNode.IsLiteral() ? true
                      : leftNode.IsLiteral() ? false
                      : kr == TFilterKind::String;
    if (!convertRight && !leftNode.IsLiteral() && kl != TFilterKind::String)
        RaiseFilterError(std::string("cannot compare a ") + KindName(kl) + " with a " + KindName(kr) +
                         " (position " + std::to_string(leftNode.Position()) + ")");
    if (convertRight)
        return SameKindCompare(left, rightNode.ConvertTo(right, kl, leftNode), kl, caseInsensitive);
    return SameKindCompare(leftNode.ConvertTo(left, kr, rightNode), right, kr, caseInsensitive);
}

TCompareNode::TCompareNode(int position, TCompareOp op, TFilterNodePtr left, TFilterNodePtr right,
                           bool caseInsensitive, bool partialCompare)
    : TConditionNode(position), FOp(op), FLeft(std::move(left)), FRight(std::move(right)),
      FCaseInsensitive(caseInsensitive),
      FPartialCompare(partialCompare && (op == TCompareOp::Equal || op == TCompareOp::NotEqual))
{
}

std::optional<bool> TCompareNode::PartialMatch(const TVariant& left, const TVariant& right) const
{
    auto prefixOf = [](const TFilterNode& node) -> std::optional<std::string> {
        if (!node.IsLiteral())
            return std::nullopt;
        const TVariant& literal = static_cast<const TLiteralNode&>(node).Literal();
        if (literal.VarType() != varString)
            return std::nullopt;
        const std::string& text = literal.AsString();
        if (text.empty() || text.back() != '*')
            return std::nullopt;
        return text.substr(0, text.size() - 1);
    };
    if (FilterKindOf(left) == TFilterKind::String)
        if (std::optional<std::string> prefix = prefixOf(*FRight))
            return StartsWithText(left.AsString(), *prefix, FCaseInsensitive);
    if (FilterKindOf(right) == TFilterKind::String)
        if (std::optional<std::string> prefix = prefixOf(*FLeft))
            return StartsWithText(right.AsString(), *prefix, FCaseInsensitive);
    return std::nullopt;
}

bool TCompareNode::Test(const TFilterFieldValue& fields) const
{
    TVariant left = FLeft->Value(fields), right = FRight->Value(fields);
    if (FPartialCompare)
        if (std::optional<bool> match = PartialMatch(left, right))
            return FOp == TCompareOp::Equal ? *match : !*match;
    std::optional<int> c = CompareFilterValues(*FLeft, left, *FRight, right, FCaseInsensitive);
    if (!c)
        return false;
    switch (FOp) {
    case TCompareOp::Equal: return *c == 0;
    case TCompareOp::NotEqual: return *c != 0;
    case TCompareOp::Less: return *c < 0;
    case TCompareOp::Greater: return *c > 0;
    case TCompareOp::LessEqual: return *c <= 0;
    case TCompareOp::GreaterEqual: return *c >= 0;
    }
    return false;
}

void TCompareNode::CollectFieldNames(std::vector<std::string>& names) const
{
    FLeft->CollectFieldNames(names);
    FRight->CollectFieldNames(names);
}

bool TIsNullNode::Test(const TFilterFieldValue& fields) const
{
    bool isNull = FOperand->Value(fields).IsNullOrEmpty();
    return FNegated ? !isNull : isNull;
}

bool TLikeNode::Test(const TFilterFieldValue& fields) const
{
    TVariant value = FOperand->Value(fields), pattern = FPattern->Value(fields);
    if (FilterKindOf(value) == TFilterKind::Null || FilterKindOf(pattern) == TFilterKind::Null)
        return false;
    std::string text = FOperand->ConvertTo(value, TFilterKind::String, *FPattern).AsString();
    std::string picture = FPattern->ConvertTo(pattern, TFilterKind::String, *FOperand).AsString();
    bool matched = MatchLikePattern(text, picture, FCaseInsensitive);
    return FNegated ? !matched : matched;
}

void TLikeNode::CollectFieldNames(std::vector<std::string>& names) const
{
    FOperand->CollectFieldNames(names);
    FPattern->CollectFieldNames(names);
}

bool TInNode::Test(const TFilterFieldValue& fields) const
{
    TVariant value = FOperand->Value(fields);
    if (FilterKindOf(value) == TFilterKind::Null)
        return false;
    bool found = false;
    for (const TFilterNodePtr& item : FItems) {
        std::optional<int> c = CompareFilterValues(*FOperand, value, *item, item->Value(fields), FCaseInsensitive);
        if (c && *c == 0) {
            found = true;
            break;
        }
    }
    return FNegated ? !found : found;
}

void TInNode::CollectFieldNames(std::vector<std::string>& names) const
{
    FOperand->CollectFieldNames(names);
    for (const TFilterNodePtr& item : FItems)
        item->CollectFieldNames(names);
}
