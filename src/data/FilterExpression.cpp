#include "data/FilterExpression.h"

#include "data/FilterLexer.h"
#include "platform/Exceptions.h"
#include "platform/FloatFormat.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

class TFilterParser {
public:
    TFilterParser(std::vector<TFilterLexeme> tokens, TFilterOptions options)
        : FTokens(std::move(tokens)),
          FCaseInsensitive(options.Contains(foCaseInsensitive)),
          FPartialCompare(!options.Contains(foNoPartialCompare))
    {
    }

    TFilterNodePtr Parse()
    {
        if (Peek().Kind == TFilterToken::End)
            return nullptr;
        TFilterNodePtr root = Condition(Or());
        if (Peek().Kind != TFilterToken::End)
            Unexpected("where the expression should end");
        return root;
    }

private:
    const TFilterLexeme& Peek(size_t ahead = 0) const
    {
        size_t index = std::min(FIndex + ahead, FTokens.size() - 1);
        return FTokens[index];
    }
    const TFilterLexeme& Take() { const TFilterLexeme& t = Peek(); if (FIndex < FTokens.size() - 1) ++FIndex; return t; }

    bool IsKeyword(const char* word, size_t ahead = 0) const
    {
        return Peek(ahead).Kind == TFilterToken::Keyword && Peek(ahead).Text == word;
    }
    bool IsOperator(const char* op) const { return Peek().Kind == TFilterToken::Operator && Peek().Text == op; }

    static std::string Describe(const TFilterLexeme& token)
    {
        switch (token.Kind) {
        case TFilterToken::End: return "end of expression";
        case TFilterToken::String: return "'" + token.Text + "'";
        case TFilterToken::Name: return "field name " + token.Text;
        default: return "'" + token.Text + "'";
        }
    }

    [[noreturn]] void Unexpected(const std::string& context) const
    {
        RaiseFilterSyntaxError(Peek().Position, "unexpected " + Describe(Peek()) + " " + context);
    }

    void Expect(const char* op, const std::string& context)
    {
        if (!IsOperator(op))
            RaiseFilterSyntaxError(Peek().Position, std::string("expected '") + op + "' " + context + ", found " + Describe(Peek()));
        Take();
    }

    // Checks that a node can stand where a condition is expected.
    static TFilterNodePtr Condition(TFilterNodePtr node)
    {
        if (!node->CanBeCondition())
            RaiseFilterSyntaxError(node->Position(), "a condition is expected here");
        return node;
    }

    TFilterNodePtr Or()
    {
        TFilterNodePtr left = And();
        while (IsKeyword("OR")) {
            int position = Take().Position;
            TFilterNodePtr right = And();
            left = std::make_unique<TLogicalNode>(position, false, Condition(std::move(left)), Condition(std::move(right)));
        }
        return left;
    }

    TFilterNodePtr And()
    {
        TFilterNodePtr left = Not();
        while (IsKeyword("AND")) {
            int position = Take().Position;
            TFilterNodePtr right = Not();
            left = std::make_unique<TLogicalNode>(position, true, Condition(std::move(left)), Condition(std::move(right)));
        }
        return left;
    }

    TFilterNodePtr Not()
    {
        if (IsKeyword("NOT")) {
            int position = Take().Position;
            return std::make_unique<TNotNode>(position, Condition(Not()));
        }
        return Predicate();
    }

    static bool IsNullLiteral(const TFilterNode& node)
    {
        return node.IsLiteral() && static_cast<const TLiteralNode&>(node).Literal().IsNull();
    }

    TFilterNodePtr Predicate()
    {
        TFilterNodePtr left = Additive();
        const TFilterLexeme& token = Peek();
        int position = token.Position;

        if (token.Kind == TFilterToken::Operator) {
            static const std::pair<const char*, TCompareOp> ops[] = {
                {"=", TCompareOp::Equal}, {"<>", TCompareOp::NotEqual}, {"<", TCompareOp::Less},
                {">", TCompareOp::Greater}, {"<=", TCompareOp::LessEqual}, {">=", TCompareOp::GreaterEqual}};
            for (const auto& [text, op] : ops) {
                if (token.Text != text)
                    continue;
                Take();
                TFilterNodePtr right = Additive();
                bool leftNull = IsNullLiteral(*left), rightNull = IsNullLiteral(*right);
                if (leftNull || rightNull) {
                    if (op != TCompareOp::Equal && op != TCompareOp::NotEqual)
                        RaiseFilterSyntaxError(position, "NULL can only be compared with = or <>");
                    TFilterNodePtr operand = leftNull ? std::move(right) : std::move(left);
                    return std::make_unique<TIsNullNode>(position, std::move(operand), op == TCompareOp::NotEqual);
                }
                return std::make_unique<TCompareNode>(position, op, std::move(left), std::move(right), FCaseInsensitive, FPartialCompare);
            }
            return left;
        }

        if (IsKeyword("IS")) {
            Take();
            bool negated = IsKeyword("NOT");
            if (negated)
                Take();
            if (!IsKeyword("NULL"))
                RaiseFilterSyntaxError(Peek().Position, "expected NULL after IS" + std::string(negated ? " NOT" : "") + ", found " + Describe(Peek()));
            Take();
            return std::make_unique<TIsNullNode>(position, std::move(left), negated);
        }

        bool negated = IsKeyword("NOT") && (IsKeyword("LIKE", 1) || IsKeyword("IN", 1));
        if (negated)
            Take();
        if (IsKeyword("LIKE")) {
            Take();
            TFilterNodePtr pattern = Additive();
            return std::make_unique<TLikeNode>(position, std::move(left), std::move(pattern), negated, FCaseInsensitive);
        }
        if (IsKeyword("IN")) {
            Take();
            Expect("(", "after IN");
            std::vector<TFilterNodePtr> items;
            do {
                items.push_back(Additive());
            } while (IsOperator(",") && (Take(), true));
            Expect(")", "to close the IN list");
            return std::make_unique<TInNode>(position, std::move(left), std::move(items), negated, FCaseInsensitive);
        }
        return left;
    }

    TFilterNodePtr Additive()
    {
        TFilterNodePtr left = Term();
        while (IsOperator("+") || IsOperator("-")) {
            const TFilterLexeme& op = Take();
            TFilterNodePtr right = Term();
            left = std::make_unique<TArithmeticNode>(op.Position, op.Text == "+" ? TArithmeticOp::Add : TArithmeticOp::Subtract,
                                                     std::move(left), std::move(right));
        }
        return left;
    }

    TFilterNodePtr Term()
    {
        TFilterNodePtr left = Unary();
        while (IsOperator("*") || IsOperator("/")) {
            const TFilterLexeme& op = Take();
            TFilterNodePtr right = Unary();
            left = std::make_unique<TArithmeticNode>(op.Position, op.Text == "*" ? TArithmeticOp::Multiply : TArithmeticOp::Divide,
                                                     std::move(left), std::move(right));
        }
        return left;
    }

    TFilterNodePtr Unary()
    {
        if (IsOperator("-")) {
            int position = Take().Position;
            TFilterNodePtr operand = Unary();
            // A negative number stays a literal, so it converts to the kind of what it is compared with.
            if (operand->IsLiteral() && FilterKindOf(static_cast<const TLiteralNode&>(*operand).Literal()) == TFilterKind::Number) {
                TNegateNode negate(position, std::move(operand));
                return std::make_unique<TLiteralNode>(position, negate.Value([](const std::string&) { return TVariant(); }));
            }
            return std::make_unique<TNegateNode>(position, std::move(operand));
        }
        if (IsOperator("+")) {
            Take();
            return Unary();
        }
        return Primary();
    }

    static TVariant NumberValue(const TFilterLexeme& token)
    {
        const std::string& text = token.Text;
        if (text.find_first_of(".eE") == std::string::npos) {
            errno = 0;
            long long v = std::strtoll(text.c_str(), nullptr, 10);
            if (errno == 0)
                return v >= INT32_MIN && v <= INT32_MAX ? TVariant(static_cast<int32_t>(v)) : TVariant(static_cast<int64_t>(v));
        }
        errno = 0;
        double d = std::strtod(text.c_str(), nullptr);   // the lexer only passes C-syntax numbers
        if (errno == ERANGE && (d == HUGE_VAL || d == -HUGE_VAL))
            RaiseFilterSyntaxError(token.Position, "number " + text + " is out of range");
        return TVariant(d);
    }

    TFilterNodePtr Primary()
    {
        const TFilterLexeme& token = Peek();
        switch (token.Kind) {
        case TFilterToken::Name:
            Take();
            return std::make_unique<TFieldNode>(token.Position, token.Text);
        case TFilterToken::String:
            Take();
            return std::make_unique<TLiteralNode>(token.Position, TVariant(token.Text));
        case TFilterToken::Number:
            Take();
            return std::make_unique<TLiteralNode>(token.Position, NumberValue(token));
        case TFilterToken::Keyword:
            if (token.Text == "NULL" || token.Text == "TRUE" || token.Text == "FALSE") {
                Take();
                TVariant value = token.Text == "NULL" ? TVariant::Null() : TVariant(token.Text == "TRUE");
                return std::make_unique<TLiteralNode>(token.Position, value);
            }
            break;
        case TFilterToken::Operator:
            if (token.Text == "(") {
                Take();
                TFilterNodePtr inner = Or();
                Expect(")", "to close the parenthesis");
                return inner;
            }
            break;
        case TFilterToken::End:
            RaiseFilterSyntaxError(token.Position, "the expression ends where a value is expected");
        }
        Unexpected("where a value is expected");
    }

    std::vector<TFilterLexeme> FTokens;
    size_t FIndex = 0;
    bool FCaseInsensitive;
    bool FPartialCompare;
};

} // namespace

TFilterExpression::TFilterExpression(const std::string& text, TFilterOptions options)
    : FText(text), FOptions(options), FRoot(TFilterParser(TokenizeFilter(text), options).Parse())
{
}

TFilterExpression::~TFilterExpression() = default;
TFilterExpression::TFilterExpression(TFilterExpression&&) noexcept = default;
TFilterExpression& TFilterExpression::operator=(TFilterExpression&&) noexcept = default;

bool TFilterExpression::Evaluate(const TFilterFieldValue& fieldValue) const
{
    return !FRoot || FRoot->Test(fieldValue);
}

std::vector<std::string> TFilterExpression::FieldNames() const
{
    std::vector<std::string> names;
    if (FRoot)
        FRoot->CollectFieldNames(names);
    return names;
}
