#pragma once
// The parsed form of a filter expression: a tree of nodes that compute a
// value or decide a condition for one record.
//
// Nulls: arithmetic with a null gives null; a comparison, LIKE or IN with a
// null operand is false (so "Name <> 'x'" does not select records whose Name
// is null); only IS [NOT] NULL tests for null.

#include "platform/Variant.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using TFilterFieldValue = std::function<TVariant(const std::string& fieldName)>;

// The kinds a filter compares by.
enum class TFilterKind { Null, Boolean, Number, Date, String, Other };
constexpr int FilterKindCount = 6;

TFilterKind FilterKindOf(const TVariant& value);

class TFilterNode {
public:
    explicit TFilterNode(int position) : FPosition(position) {}
    virtual ~TFilterNode() = default;
    TFilterNode(const TFilterNode&) = delete;
    TFilterNode& operator=(const TFilterNode&) = delete;

    int Position() const { return FPosition; }

    virtual TVariant Value(const TFilterFieldValue& fields) const = 0;
    // The node as a condition: null is false; a value that is not logical raises.
    virtual bool Test(const TFilterFieldValue& fields) const;
    // Whether the node can stand where a condition is expected (before knowing field types).
    virtual bool CanBeCondition() const { return false; }
    virtual void CollectFieldNames(std::vector<std::string>& names) const { (void)names; }

    // Converts a value this node produced to another kind for a comparison
    // with `other`; raises EDatabaseError when the value does not convert.
    virtual TVariant ConvertTo(const TVariant& value, TFilterKind kind, const TFilterNode& other) const;
    virtual bool IsLiteral() const { return false; }
    // The field this node reads, for messages; empty for other nodes.
    virtual std::string FieldName() const { return {}; }

private:
    int FPosition;
};

using TFilterNodePtr = std::unique_ptr<TFilterNode>;

class TFieldNode : public TFilterNode {
public:
    TFieldNode(int position, std::string name) : TFilterNode(position), FName(std::move(name)) {}
    TVariant Value(const TFilterFieldValue& fields) const override;
    bool CanBeCondition() const override { return true; }
    void CollectFieldNames(std::vector<std::string>& names) const override;
    std::string FieldName() const override { return FName; }

private:
    std::string FName;
};

class TLiteralNode : public TFilterNode {
public:
    TLiteralNode(int position, TVariant value) : TFilterNode(position), FValue(std::move(value)) {}
    TVariant Value(const TFilterFieldValue&) const override { return FValue; }
    bool CanBeCondition() const override { return FValue.VarType() == varBoolean || FValue.IsNull(); }
    TVariant ConvertTo(const TVariant& value, TFilterKind kind, const TFilterNode& other) const override;
    bool IsLiteral() const override { return true; }
    const TVariant& Literal() const { return FValue; }

private:
    TVariant FValue;
    // A literal converts the same way for every record: keep each conversion.
    mutable std::array<std::optional<TVariant>, FilterKindCount> FConverted;
};

class TConditionNode : public TFilterNode {
public:
    using TFilterNode::TFilterNode;
    TVariant Value(const TFilterFieldValue& fields) const override { return TVariant(Test(fields)); }
    bool CanBeCondition() const override { return true; }
};

class TNotNode : public TConditionNode {
public:
    TNotNode(int position, TFilterNodePtr operand) : TConditionNode(position), FOperand(std::move(operand)) {}
    bool Test(const TFilterFieldValue& fields) const override { return !FOperand->Test(fields); }
    void CollectFieldNames(std::vector<std::string>& names) const override { FOperand->CollectFieldNames(names); }

private:
    TFilterNodePtr FOperand;
};

class TLogicalNode : public TConditionNode {
public:
    TLogicalNode(int position, bool isAnd, TFilterNodePtr left, TFilterNodePtr right)
        : TConditionNode(position), FIsAnd(isAnd), FLeft(std::move(left)), FRight(std::move(right)) {}
    bool Test(const TFilterFieldValue& fields) const override;
    void CollectFieldNames(std::vector<std::string>& names) const override;

private:
    bool FIsAnd;
    TFilterNodePtr FLeft, FRight;
};

enum class TCompareOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

class TCompareNode : public TConditionNode {
public:
    // `partialCompare`: a string literal ending in '*' compared with = or <>
    // matches the texts that start with what precedes the '*'.
    TCompareNode(int position, TCompareOp op, TFilterNodePtr left, TFilterNodePtr right,
                 bool caseInsensitive, bool partialCompare);
    bool Test(const TFilterFieldValue& fields) const override;
    void CollectFieldNames(std::vector<std::string>& names) const override;

private:
    std::optional<bool> PartialMatch(const TVariant& left, const TVariant& right) const;

    TCompareOp FOp;
    TFilterNodePtr FLeft, FRight;
    bool FCaseInsensitive;
    bool FPartialCompare;
};

class TIsNullNode : public TConditionNode {
public:
    TIsNullNode(int position, TFilterNodePtr operand, bool negated)
        : TConditionNode(position), FOperand(std::move(operand)), FNegated(negated) {}
    bool Test(const TFilterFieldValue& fields) const override;
    void CollectFieldNames(std::vector<std::string>& names) const override { FOperand->CollectFieldNames(names); }

private:
    TFilterNodePtr FOperand;
    bool FNegated;
};

class TLikeNode : public TConditionNode {
public:
    TLikeNode(int position, TFilterNodePtr operand, TFilterNodePtr pattern, bool negated, bool caseInsensitive)
        : TConditionNode(position), FOperand(std::move(operand)), FPattern(std::move(pattern)),
          FNegated(negated), FCaseInsensitive(caseInsensitive) {}
    bool Test(const TFilterFieldValue& fields) const override;
    void CollectFieldNames(std::vector<std::string>& names) const override;

private:
    TFilterNodePtr FOperand, FPattern;
    bool FNegated, FCaseInsensitive;
};

class TInNode : public TConditionNode {
public:
    TInNode(int position, TFilterNodePtr operand, std::vector<TFilterNodePtr> items, bool negated, bool caseInsensitive)
        : TConditionNode(position), FOperand(std::move(operand)), FItems(std::move(items)),
          FNegated(negated), FCaseInsensitive(caseInsensitive) {}
    bool Test(const TFilterFieldValue& fields) const override;
    void CollectFieldNames(std::vector<std::string>& names) const override;

private:
    TFilterNodePtr FOperand;
    std::vector<TFilterNodePtr> FItems;
    bool FNegated, FCaseInsensitive;
};

enum class TArithmeticOp { Add, Subtract, Multiply, Divide };

class TArithmeticNode : public TFilterNode {
public:
    TArithmeticNode(int position, TArithmeticOp op, TFilterNodePtr left, TFilterNodePtr right)
        : TFilterNode(position), FOp(op), FLeft(std::move(left)), FRight(std::move(right)) {}
    TVariant Value(const TFilterFieldValue& fields) const override;
    void CollectFieldNames(std::vector<std::string>& names) const override;

private:
    TArithmeticOp FOp;
    TFilterNodePtr FLeft, FRight;
};

class TNegateNode : public TFilterNode {
public:
    TNegateNode(int position, TFilterNodePtr operand) : TFilterNode(position), FOperand(std::move(operand)) {}
    TVariant Value(const TFilterFieldValue& fields) const override;
    void CollectFieldNames(std::vector<std::string>& names) const override { FOperand->CollectFieldNames(names); }

private:
    TFilterNodePtr FOperand;
};

// Compares two values as the filter does: a literal converts to the kind of
// the other side, a string to the kind of a non-string side.  Empty when
// either value is null.
std::optional<int> CompareFilterValues(const TFilterNode& leftNode, const TVariant& left,
                                       const TFilterNode& rightNode, const TVariant& right,
                                       bool caseInsensitive);
