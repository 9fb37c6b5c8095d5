#include "data/engine/dbf/CdxExpression.h"

#include "data/engine/ByteOrder.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace cdx {

namespace {

enum class TOp {
    Field, Text, Number, Logical,
    Concat, ConcatTrim, Add, Subtract, Multiply, Divide, Negate,
    Equal, ExactEqual, NotEqual, Less, LessEqual, Greater, GreaterEqual, Contains,
    And, Or, Not,
    Upper, Lower, Str, Dtos, Left, Right, Substr, Trim, LTrim, AllTrim, PadR, PadL,
    RecNo, Deleted, Iif, Val
};

struct TFunction {
    const char* Name;
    TOp Op;
    size_t MinArgs;
    size_t MaxArgs;
};

constexpr TFunction Functions[] = {
    {"UPPER", TOp::Upper, 1, 1},   {"LOWER", TOp::Lower, 1, 1},     {"STR", TOp::Str, 1, 3},
    {"DTOS", TOp::Dtos, 1, 1},     {"LEFT", TOp::Left, 2, 2},       {"RIGHT", TOp::Right, 2, 2},
    {"SUBSTR", TOp::Substr, 2, 3}, {"TRIM", TOp::Trim, 1, 1},       {"RTRIM", TOp::Trim, 1, 1},
    {"LTRIM", TOp::LTrim, 1, 1},   {"ALLTRIM", TOp::AllTrim, 1, 1}, {"PADR", TOp::PadR, 2, 2},
    {"PADL", TOp::PadL, 2, 2},     {"RECNO", TOp::RecNo, 0, 0},     {"DELETED", TOp::Deleted, 0, 0},
    {"IIF", TOp::Iif, 3, 3},       {"VAL", TOp::Val, 1, 1},
};

std::string UpperAscii(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Names may be abbreviated to four letters, as in the xBase languages.
const TFunction* FindFunction(const std::string& name)
{
    for (const TFunction& f : Functions) {
        std::string full = f.Name;
        if (name == full || (name.size() >= 4 && full.compare(0, name.size(), name) == 0))
            return &f;
    }
    return nullptr;
}

// A sign, digits and at most one point, fifteen digits at most: the value
// is the digits as an integer over a power of ten, both exact as doubles,
// so one division rounds it as strtod does.  False for anything else.
bool ParsePlainDecimal(const char* text, int length, double& value)
{
    static constexpr double Powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    int i = 0;
    const bool negative = length > 0 && text[0] == '-';
    if (length > 0 && (text[0] == '-' || text[0] == '+'))
        ++i;
    uint64_t digits = 0;
    int count = 0, scale = 0;
    bool point = false;
    for (; i < length; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++count > 15)
                return false;
            digits = digits * 10 + static_cast<uint64_t>(c - '0');
            scale += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (count == 0)
        return false;
    const double magnitude = static_cast<double>(digits) / Powers[scale];
    value = negative ? -magnitude : magnitude;
    return true;
}

double ParseNumberField(const uint8_t* p, int length)
{
    char buffer[64];
    int n = 0;
    for (int i = 0; i < length && n < 63; ++i)
        if (p[i] != ' ' && p[i] != 0)
            buffer[n++] = static_cast<char>(p[i] == ',' ? '.' : p[i]);
    buffer[n] = 0;
    if (n == 0)
        return 0;
    double plain;
    if (ParsePlainDecimal(buffer, n, plain))
        return plain;
    char* end = nullptr;
    double value = std::strtod(buffer, &end);
    return end == buffer ? 0 : value;
}

double JulianOfDateField(const uint8_t* p)
{
    int parts[3] = {};
    const int widths[3] = {4, 2, 2};
    const uint8_t* q = p;
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < widths[k]; ++i, ++q) {
            if (*q < '0' || *q > '9')
                return 0;
            parts[k] = parts[k] * 10 + (*q - '0');
        }
    }
    if (parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31)
        return 0;
    return static_cast<double>(JulianDay(parts[0], parts[1], parts[2]));
}

std::string DateText(double julian)
{
    if (julian <= 0)
        return std::string(8, ' ');
    // Inverse of JulianDay (Fliegel and Van Flandern).
    int64_t l = static_cast<int64_t>(julian) + 68569;
    int64_t n = 4 * l / 146097;
    l -= (146097 * n + 3) / 4;
    int64_t i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    int64_t j = 80 * l / 2447;
    int64_t day = l - 2447 * j / 80;
    l = j / 11;
    int64_t month = j + 2 - 12 * l;
    int64_t year = 100 * (n - 49) + i + l;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", static_cast<int>(year % 10000), static_cast<int>(month),
                  static_cast<int>(day));
    return buffer;
}

// STR(): right-justified, rounded half away from zero, stars when too wide.
std::string StrOf(double value, int length, int decimals)
{
    length = std::clamp(length, 1, 255);
    decimals = std::clamp(decimals, 0, std::max(0, length - 2));
    double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    char buffer[400];
    int n = std::snprintf(buffer, sizeof buffer, "%*.*f", length, decimals, rounded);
    if (n < 0 || n > length)
        return std::string(static_cast<size_t>(length), '*');
    return buffer;
}

size_t TrailingBlanks(const std::string& s)
{
    size_t n = 0;
    while (n < s.size() && (s[s.size() - 1 - n] == ' ' || s[s.size() - 1 - n] == 0))
        ++n;
    return n;
}

size_t LeadingBlanks(const std::string& s)
{
    size_t n = 0;
    while (n < s.size() && (s[n] == ' ' || s[n] == 0))
        ++n;
    return n;
}

int CompareValues(const TValue& a, const TValue& b, bool exact)
{
    if (a.Type == 'C') {
        if (!exact && b.Text.size() <= a.Text.size())
            return std::memcmp(a.Text.data(), b.Text.data(), b.Text.size()) == 0 ? 0 : a.Text.compare(b.Text);
        return a.Text.compare(b.Text);
    }
    if (a.Type == 'L')
        return static_cast<int>(a.Logical) - static_cast<int>(b.Logical);
    return a.Number < b.Number ? -1 : a.Number > b.Number ? 1 : 0;
}

} // namespace

struct TExpression::TNode {
    TOp Op = TOp::Text;
    char Type = 'C';
    const TDbfField* Field = nullptr;
    TValue Constant;
    std::vector<std::unique_ptr<TNode>> Args;
};

// ---- parsing

class TParser {
public:
    TParser(TExpression& owner) : FOwner(owner), FText(owner.FText) {}

    std::unique_ptr<TExpression::TNode> Parse()
    {
        auto node = ParseOr();
        SkipBlanks();
        if (FPos != FText.size())
            Fail("unexpected \"" + FText.substr(FPos) + "\"");
        return node;
    }

private:
    using TNodePtr = std::unique_ptr<TExpression::TNode>;

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw EUnsupportedExpression("\"" + FText + "\": " + what);
    }

    void SkipBlanks()
    {
        while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos])))
            ++FPos;
    }

    bool Accept(const char* token)
    {
        SkipBlanks();
        size_t n = std::strlen(token);
        if (FText.size() - FPos < n)
            return false;
        for (size_t i = 0; i < n; ++i)
            if (std::toupper(static_cast<unsigned char>(FText[FPos + i])) != token[i])
                return false;
        FPos += n;
        return true;
    }

    void Expect(const char* token)
    {
        if (!Accept(token))
            Fail(std::string("\"") + token + "\" expected");
    }

    static TNodePtr Make(TOp op, char type)
    {
        auto node = std::make_unique<TExpression::TNode>();
        node->Op = op;
        node->Type = type;
        return node;
    }

    TNodePtr Binary(TOp op, char type, TNodePtr a, TNodePtr b)
    {
        auto node = Make(op, type);
        node->Args.push_back(std::move(a));
        node->Args.push_back(std::move(b));
        return node;
    }

    TNodePtr ParseOr()
    {
        auto left = ParseAnd();
        while (Accept(".OR.")) {
            auto right = ParseAnd();
            RequireType(*left, 'L');
            RequireType(*right, 'L');
            left = Binary(TOp::Or, 'L', std::move(left), std::move(right));
        }
        return left;
    }

    TNodePtr ParseAnd()
    {
        auto left = ParseNot();
        while (Accept(".AND.")) {
            auto right = ParseNot();
            RequireType(*left, 'L');
            RequireType(*right, 'L');
            left = Binary(TOp::And, 'L', std::move(left), std::move(right));
        }
        return left;
    }

    TNodePtr ParseNot()
    {
        SkipBlanks();
        if (Accept(".NOT.") || (FPos < FText.size() && FText[FPos] == '!' && (FPos + 1 >= FText.size() || FText[FPos + 1] != '='))) {
            if (FText[FPos] == '!')
                ++FPos;
            auto operand = ParseNot();
            RequireType(*operand, 'L');
            auto node = Make(TOp::Not, 'L');
            node->Args.push_back(std::move(operand));
            return node;
        }
        return ParseComparison();
    }

    TNodePtr ParseComparison()
    {
        auto left = ParseSum();
        static const std::pair<const char*, TOp> ops[] = {
            {"==", TOp::ExactEqual}, {"<>", TOp::NotEqual}, {"!=", TOp::NotEqual}, {"<=", TOp::LessEqual},
            {">=", TOp::GreaterEqual}, {"#", TOp::NotEqual}, {"=", TOp::Equal}, {"<", TOp::Less},
            {">", TOp::Greater}, {"$", TOp::Contains}};
        for (const auto& [token, op] : ops) {
            if (Accept(token)) {
                auto right = ParseSum();
                AsNumber(*left);
                AsNumber(*right);
                if (left->Type != right->Type || (op == TOp::Contains && left->Type != 'C'))
                    Fail(std::string("operands of \"") + token + "\" differ in type");
                return Binary(op, 'L', std::move(left), std::move(right));
            }
        }
        return left;
    }

    TNodePtr ParseSum()
    {
        auto left = ParseProduct();
        for (;;) {
            bool plus = Accept("+");
            if (!plus && !AcceptMinus())
                return left;
            auto right = ParseProduct();
            AsNumber(*left);
            AsNumber(*right);
            char a = left->Type, b = right->Type;
            if (a == 'C' && b == 'C')
                left = Binary(plus ? TOp::Concat : TOp::ConcatTrim, 'C', std::move(left), std::move(right));
            else if (a == 'N' && b == 'N')
                left = Binary(plus ? TOp::Add : TOp::Subtract, 'N', std::move(left), std::move(right));
            else if (a == 'D' && b == 'N')
                left = Binary(plus ? TOp::Add : TOp::Subtract, 'D', std::move(left), std::move(right));
            else if (a == 'D' && b == 'D' && !plus)
                left = Binary(TOp::Subtract, 'N', std::move(left), std::move(right));
            else
                Fail("operands of \"+\" or \"-\" do not go together");
        }
    }

    // "-" but not the start of "->".
    bool AcceptMinus()
    {
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == '-' && (FPos + 1 >= FText.size() || FText[FPos + 1] != '>')) {
            ++FPos;
            return true;
        }
        return false;
    }

    TNodePtr ParseProduct()
    {
        auto left = ParseUnary();
        for (;;) {
            bool times = Accept("*");
            if (!times && !Accept("/"))
                return left;
            auto right = ParseUnary();
            RequireType(*left, 'N');
            RequireType(*right, 'N');
            left = Binary(times ? TOp::Multiply : TOp::Divide, 'N', std::move(left), std::move(right));
        }
    }

    TNodePtr ParseUnary()
    {
        if (AcceptMinus()) {
            auto operand = ParseUnary();
            RequireType(*operand, 'N');
            auto node = Make(TOp::Negate, 'N');
            node->Args.push_back(std::move(operand));
            return node;
        }
        Accept("+");
        return ParsePrimary();
    }

    // An integer field inside an expression is a number like any other;
    // only alone does it make 4-byte keys.
    static void AsNumber(TExpression::TNode& node)
    {
        if (node.Type == 'I')
            node.Type = 'N';
    }

    void RequireType(TExpression::TNode& node, char type)
    {
        AsNumber(node);
        if (node.Type != type)
            Fail(std::string("a value of type ") + type + " expected");
    }

    TNodePtr ParsePrimary()
    {
        SkipBlanks();
        if (FPos >= FText.size())
            Fail("the expression ends too soon");
        char c = FText[FPos];
        if (c == '(') {
            ++FPos;
            auto node = ParseOr();
            Expect(")");
            return node;
        }
        if (c == '\'' || c == '"' || c == '[')
            return ParseString(c == '[' ? ']' : c);
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            if (Accept(".T.") || Accept(".Y.")) {
                auto node = Make(TOp::Logical, 'L');
                node->Constant.Type = 'L';
                node->Constant.Logical = true;
                return node;
            }
            if (Accept(".F.") || Accept(".N.")) {
                auto node = Make(TOp::Logical, 'L');
                node->Constant.Type = 'L';
                return node;
            }
            return ParseNumber();
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_')
            return ParseName();
        Fail(std::string("unexpected \"") + c + "\"");
    }

    TNodePtr ParseString(char close)
    {
        size_t end = FText.find(close, FPos + 1);
        if (end == std::string::npos)
            Fail("a text has no end");
        auto node = Make(TOp::Text, 'C');
        node->Constant.Type = 'C';
        node->Constant.Text = FText.substr(FPos + 1, end - FPos - 1);
        FPos = end + 1;
        return node;
    }

    TNodePtr ParseNumber()
    {
        size_t start = FPos;
        while (FPos < FText.size() && (std::isdigit(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '.'))
            ++FPos;
        auto node = Make(TOp::Number, 'N');
        node->Constant.Type = 'N';
        node->Constant.Number = std::strtod(FText.substr(start, FPos - start).c_str(), nullptr);
        return node;
    }

    std::string ReadName()
    {
        size_t start = FPos;
        while (FPos < FText.size() && (std::isalnum(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '_'))
            ++FPos;
        return UpperAscii(FText.substr(start, FPos - start));
    }

    TNodePtr ParseName()
    {
        std::string name = ReadName();
        if (Accept("(")) {
            const TFunction* function = FindFunction(name);
            if (!function)
                Fail("the function " + name + "() is not supported");
            std::vector<TNodePtr> args;
            if (!Accept(")")) {
                do
                    args.push_back(ParseOr());
                while (Accept(","));
                Expect(")");
            }
            if (args.size() < function->MinArgs || args.size() > function->MaxArgs)
                Fail(std::string("wrong number of arguments of ") + function->Name + "()");
            return MakeCall(*function, std::move(args));
        }
        if (Accept("->")) {
            // alias->field: only the table itself can be meant.
            Fail("the expression refers to the work area " + name);
        }
        return MakeField(name);
    }

    TNodePtr MakeCall(const TFunction& function, std::vector<TNodePtr> args)
    {
        auto want = [&](size_t i, char type) { RequireType(*args[i], type); };
        char type = 'C';
        switch (function.Op) {
        case TOp::Upper: case TOp::Lower: case TOp::Trim: case TOp::LTrim: case TOp::AllTrim:
            want(0, 'C');
            break;
        case TOp::Str:
            for (size_t i = 0; i < args.size(); ++i)
                want(i, 'N');
            break;
        case TOp::Dtos:
            want(0, 'D');
            break;
        case TOp::Left: case TOp::Right: case TOp::PadR: case TOp::PadL:
            want(0, 'C');
            want(1, 'N');
            break;
        case TOp::Substr:
            want(0, 'C');
            for (size_t i = 1; i < args.size(); ++i)
                want(i, 'N');
            break;
        case TOp::RecNo:
            type = 'N';
            break;
        case TOp::Deleted:
            type = 'L';
            FOwner.FReadsDeleted = true;
            break;
        case TOp::Iif:
            want(0, 'L');
            if (args[1]->Type == 'I')
                args[1]->Type = 'N';
            if (args[2]->Type == 'I')
                args[2]->Type = 'N';
            if (args[1]->Type != args[2]->Type)
                Fail("the branches of IIF() differ in type");
            type = args[1]->Type;
            break;
        case TOp::Val:
            want(0, 'C');
            type = 'N';
            break;
        default:
            break;
        }
        auto node = Make(function.Op, type);
        node->Args = std::move(args);
        return node;
    }

    TNodePtr MakeField(const std::string& name)
    {
        const TDbfField* found = nullptr;
        for (const TDbfField& f : FOwner.FTable.Fields)
            if (!f.Hidden && UpperAscii(f.Name) == name)
                found = &f;
        // Tables of a database keep long names in the database; the table
        // holds their first ten characters.
        if (!found && name.size() > 10) {
            for (const TDbfField& f : FOwner.FTable.Fields)
                if (!f.Hidden && UpperAscii(f.Name) == name.substr(0, 10))
                    found = &f;
        }
        if (!found)
            Fail("no field " + name);
        char type;
        switch (found->Type) {
        case 'C': type = 'C'; break;
        case 'N': case 'F': case 'B': type = 'N'; break;
        case 'I': type = 'I'; break;
        case 'D': type = 'D'; break;
        case 'L': type = 'L'; break;
        default:
            Fail("the field " + name + " has a type keys are not made of here");
        }
        if (found->Type == 'B' && FOwner.FTable.Dialect != TDbfDialect::VisualFoxPro)
            Fail("the field " + name + " has a type keys are not made of here");
        auto node = Make(TOp::Field, type);
        node->Field = found;
        return node;
    }

    TExpression& FOwner;
    const std::string& FText;
    size_t FPos = 0;
};

TExpression::TExpression(const std::string& text, const TDbfHeader& table, const TCaseTables& cases)
    : FText(text), FTable(table), FCases(cases)
{
    TParser parser(*this);
    FRoot = parser.Parse();
}

TExpression::~TExpression() = default;

char TExpression::ResultType() const { return FRoot->Type; }

// ---- evaluation

namespace {

struct TEvaluator {
    const TDbfHeader& Table;
    const TCaseTables& Cases;
    const TRecordContext& Context;

    bool FieldIsNull(const TDbfField& f) const
    {
        if (f.NullBit < 0 || Table.NullFlagsField < 0)
            return false;
        const TDbfField& flags = Table.Fields[static_cast<size_t>(Table.NullFlagsField)];
        int byte = f.NullBit / 8;
        if (byte >= flags.Length)
            return false;
        return (Context.Record[flags.Offset + byte] >> (f.NullBit % 8)) & 1;
    }

    void ReadField(const TDbfField& f, TValue& out) const
    {
        const uint8_t* p = Context.Record + f.Offset;
        out.Null = FieldIsNull(f);
        switch (f.Type) {
        case 'C':
            out.Type = 'C';
            out.Text.assign(reinterpret_cast<const char*>(p), static_cast<size_t>(f.Length));
            break;
        case 'N': case 'F':
            out.Type = 'N';
            out.Number = ParseNumberField(p, f.Length);
            break;
        case 'B': {
            out.Type = 'N';
            uint64_t bits = Le64(p);
            std::memcpy(&out.Number, &bits, 8);
            break;
        }
        case 'I':
            out.Type = 'I';
            out.Number = static_cast<int32_t>(Le32(p));
            break;
        case 'D':
            out.Type = 'D';
            out.Number = JulianOfDateField(p);
            break;
        case 'L':
            out.Type = 'L';
            out.Logical = p[0] == 'T' || p[0] == 't' || p[0] == 'Y' || p[0] == 'y';
            break;
        default:
            break;
        }
    }

    void MapCase(std::string& s, const std::array<uint8_t, 256>& table) const
    {
        for (size_t i = 0; i < s.size(); ++i) {
            uint8_t b = static_cast<uint8_t>(s[i]);
            if (Cases.DoubleByte && b >= 0x81) {
                ++i;
                continue;
            }
            s[i] = static_cast<char>(table[b]);
        }
    }

    static int Whole(const TValue& v) { return static_cast<int>(std::clamp(v.Number, -1e6, 1e6)); }

    void Eval(const TExpression::TNode& node, TValue& out) const
    {
        switch (node.Op) {
        case TOp::Field:
            ReadField(*node.Field, out);
            return;
        case TOp::Text: case TOp::Number: case TOp::Logical:
            out = node.Constant;
            return;
        case TOp::RecNo:
            out.Type = 'N';
            out.Null = false;
            out.Number = Context.RecNo;
            return;
        case TOp::Deleted:
            out.Type = 'L';
            out.Null = false;
            out.Logical = Context.Record[0] == '*';
            return;
        default:
            break;
        }
        TValue a;
        Eval(*node.Args[0], a);
        if (node.Op == TOp::Iif) {
            Eval(*node.Args[a.Logical && !a.Null ? 1 : 2], out);
            return;
        }
        TValue b, c;
        if (node.Args.size() > 1)
            Eval(*node.Args[1], b);
        if (node.Args.size() > 2)
            Eval(*node.Args[2], c);
        out.Type = node.Type == 'I' ? 'N' : node.Type;
        out.Null = a.Null || b.Null || c.Null;
        switch (node.Op) {
        case TOp::Concat:
            out.Text = a.Text + b.Text;
            return;
        case TOp::ConcatTrim: {
            size_t blanks = TrailingBlanks(a.Text);
            out.Text = a.Text.substr(0, a.Text.size() - blanks) + b.Text + std::string(blanks, ' ');
            return;
        }
        case TOp::Add:
            out.Number = a.Number + b.Number;
            return;
        case TOp::Subtract:
            out.Number = a.Number - b.Number;
            return;
        case TOp::Multiply:
            out.Number = a.Number * b.Number;
            return;
        case TOp::Divide:
            out.Number = b.Number == 0 ? 0 : a.Number / b.Number;
            return;
        case TOp::Negate:
            out.Number = -a.Number;
            return;
        case TOp::Equal: case TOp::ExactEqual: case TOp::NotEqual: case TOp::Less: case TOp::LessEqual:
        case TOp::Greater: case TOp::GreaterEqual: {
            int cmp = CompareValues(a, b, node.Op != TOp::Equal && node.Op != TOp::NotEqual);
            switch (node.Op) {
            case TOp::Equal: case TOp::ExactEqual: out.Logical = cmp == 0; break;
            case TOp::NotEqual: out.Logical = cmp != 0; break;
            case TOp::Less: out.Logical = cmp < 0; break;
            case TOp::LessEqual: out.Logical = cmp <= 0; break;
            case TOp::Greater: out.Logical = cmp > 0; break;
            default: out.Logical = cmp >= 0; break;
            }
            return;
        }
        case TOp::Contains:
            out.Logical = b.Text.find(a.Text) != std::string::npos;
            return;
        case TOp::And:
            out.Logical = a.Logical && b.Logical;
            return;
        case TOp::Or:
            out.Logical = a.Logical || b.Logical;
            return;
        case TOp::Not:
            out.Logical = !a.Logical;
            return;
        case TOp::Upper:
            out.Text = a.Text;
            MapCase(out.Text, Cases.Upper);
            return;
        case TOp::Lower:
            out.Text = a.Text;
            MapCase(out.Text, Cases.Lower);
            return;
        case TOp::Str:
            out.Text = StrOf(a.Number, node.Args.size() > 1 ? Whole(b) : 10, node.Args.size() > 2 ? Whole(c) : 0);
            return;
        case TOp::Dtos:
            out.Text = DateText(a.Number);
            return;
        case TOp::Left:
            out.Text = a.Text.substr(0, static_cast<size_t>(std::max(0, Whole(b))));
            return;
        case TOp::Right: {
            size_t n = std::min(a.Text.size(), static_cast<size_t>(std::max(0, Whole(b))));
            out.Text = a.Text.substr(a.Text.size() - n);
            return;
        }
        case TOp::Substr: {
            size_t start = static_cast<size_t>(std::max(1, Whole(b))) - 1;
            if (start >= a.Text.size()) {
                out.Text.clear();
                return;
            }
            size_t n = node.Args.size() > 2 ? static_cast<size_t>(std::max(0, Whole(c))) : std::string::npos;
            out.Text = a.Text.substr(start, n);
            return;
        }
        case TOp::Trim:
            out.Text = a.Text.substr(0, a.Text.size() - TrailingBlanks(a.Text));
            return;
        case TOp::LTrim:
            out.Text = a.Text.substr(LeadingBlanks(a.Text));
            return;
        case TOp::AllTrim: {
            std::string t = a.Text.substr(0, a.Text.size() - TrailingBlanks(a.Text));
            out.Text = t.substr(LeadingBlanks(t));
            return;
        }
        case TOp::PadR: case TOp::PadL: {
            size_t n = static_cast<size_t>(std::max(0, Whole(b)));
            if (a.Text.size() >= n)
                out.Text = node.Op == TOp::PadR ? a.Text.substr(0, n) : a.Text.substr(a.Text.size() - n);
            else if (node.Op == TOp::PadR)
                out.Text = a.Text + std::string(n - a.Text.size(), ' ');
            else
                out.Text = std::string(n - a.Text.size(), ' ') + a.Text;
            return;
        }
        case TOp::Val:
            out.Number = ParseNumberField(reinterpret_cast<const uint8_t*>(a.Text.data()), static_cast<int>(a.Text.size()));
            return;
        default:
            return;
        }
    }
};

} // namespace

void TExpression::Evaluate(const TRecordContext& context, TValue& result) const
{
    TEvaluator evaluator{FTable, FCases, context};
    evaluator.Eval(*FRoot, result);
}

int64_t JulianDay(int year, int month, int day)
{
    int64_t a = (14 - month) / 12;
    int64_t y = year + 4800 - a;
    int64_t m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

} // namespace cdx
