#include "data/FilterLexer.h"

#include "platform/Exceptions.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::array<const char*, 9> Keywords = {"AND", "OR", "NOT", "IS", "NULL", "LIKE", "IN", "TRUE", "FALSE"};

bool IsNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || std::isdigit(c); }

std::string ToUpperAscii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class TFilterLexer {
public:
    explicit TFilterLexer(const std::string& text) : FText(text) {}

    std::vector<TFilterLexeme> Run()
    {
        std::vector<TFilterLexeme> tokens;
        for (;;) {
            SkipBlanks();
            TFilterLexeme token;
            token.Position = CharPosition(FPos);
            if (FPos >= FText.size()) {
                tokens.push_back(token);
                return tokens;
            }
            unsigned char c = static_cast<unsigned char>(FText[FPos]);
            if (c == '\'') {
                token.Kind = TFilterToken::String;
                token.Text = Quoted('\'', "string literal");
            } else if (c == '"') {
                token.Kind = TFilterToken::Name;
                token.Text = Quoted('"', "field name");
            } else if (c == '[') {
                token.Kind = TFilterToken::Name;
                token.Text = Bracketed();
            } else if (std::isdigit(c) || (c == '.' && FPos + 1 < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos + 1])))) {
                token.Kind = TFilterToken::Number;
                token.Text = Number();
            } else if (IsNameStart(c)) {
                token.Text = Word();
                std::string upper = ToUpperAscii(token.Text);
                if (std::find_if(Keywords.begin(), Keywords.end(), [&](const char* k) { return upper == k; }) != Keywords.end()) {
                    token.Kind = TFilterToken::Keyword;
                    token.Text = upper;
                } else {
                    token.Kind = TFilterToken::Name;
                }
            } else {
                token.Kind = TFilterToken::Operator;
                token.Text = Operator();
            }
            tokens.push_back(std::move(token));
        }
    }

private:
    int CharPosition(size_t bytePos) const
    {
        return static_cast<int>(Utf8Length(std::string_view(FText).substr(0, bytePos))) + 1;
    }

    void SkipBlanks()
    {
        while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos])))
            ++FPos;
    }

    std::string Quoted(char quote, const char* what)
    {
        size_t start = FPos++;
        std::string value;
        for (;;) {
            if (FPos >= FText.size())
                RaiseFilterSyntaxError(CharPosition(start), std::string("unterminated ") + what);
            char c = FText[FPos++];
            if (c == quote) {
                if (FPos < FText.size() && FText[FPos] == quote) {
                    value += quote;
                    ++FPos;
                    continue;
                }
                return value;
            }
            value += c;
        }
    }

    std::string Bracketed()
    {
        size_t start = FPos++;
        size_t close = FText.find(']', FPos);
        if (close == std::string::npos)
            RaiseFilterSyntaxError(CharPosition(start), "missing ']' after field name");
        std::string value = FText.substr(FPos, close - FPos);
        if (value.empty())
            RaiseFilterSyntaxError(CharPosition(start), "empty field name");
        FPos = close + 1;
        return value;
    }

    std::string Number()
    {
        size_t start = FPos;
        auto digits = [&] {
            while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos])))
                ++FPos;
        };
        digits();
        if (FPos < FText.size() && FText[FPos] == '.') {
            ++FPos;
            digits();
        }
        if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
            size_t mark = FPos++;
            if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-'))
                ++FPos;
            if (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos])))
                digits();
            else
                FPos = mark;
        }
        if (FPos < FText.size() && IsNameChar(static_cast<unsigned char>(FText[FPos])))
            RaiseFilterSyntaxError(CharPosition(start), "invalid number '" + FText.substr(start, FPos + 1 - start) + "'");
        return FText.substr(start, FPos - start);
    }

    std::string Word()
    {
        size_t start = FPos;
        while (FPos < FText.size() && IsNameChar(static_cast<unsigned char>(FText[FPos])))
            ++FPos;
        return FText.substr(start, FPos - start);
    }

    std::string Operator()
    {
        static constexpr std::array<const char*, 3> TwoChar = {"<>", "<=", ">="};
        for (const char* op : TwoChar)
            if (FText.compare(FPos, 2, op) == 0) {
                FPos += 2;
                return op;
            }
        if (FText.compare(FPos, 2, "!=") == 0) {
            FPos += 2;
            return "<>";
        }
        char c = FText[FPos];
        if (std::string("=<>+-*/(),").find(c) == std::string::npos) {
            size_t length = Utf8CharLength(static_cast<unsigned char>(c));
            RaiseFilterSyntaxError(CharPosition(FPos), "unexpected character '" + FText.substr(FPos, length) + "'");
        }
        ++FPos;
        return std::string(1, c);
    }

    const std::string& FText;
    size_t FPos = 0;
};

} // namespace

void RaiseFilterSyntaxError(int position, const std::string& detail)
{
    throw EDatabaseError("Filter expression error at position " + std::to_string(position) + ": " + detail);
}

std::vector<TFilterLexeme> TokenizeFilter(const std::string& text)
{
    return TFilterLexer(text).Run();
}
