#include "support/JsonValue.h"

#include <fstream>
#include <sstream>

#include <cstdlib>

class TJsonParser {
public:
    explicit TJsonParser(const std::string& text) : FText(text) {}

    TJsonValue ParseValue()
    {
        SkipBlanks();
        if (FPos >= FText.size())
            Fail("unexpected end");
        char c = FText[FPos];
        TJsonValue v;
        if (c == '{') {
            v.FKind = TJsonValue::Object;
            ++FPos;
            SkipBlanks();
            if (Peek() == '}') { ++FPos; return v; }
            for (;;) {
                SkipBlanks();
                std::string key = ParseString();
                SkipBlanks();
                Expect(':');
                v.FMembers[key] = ParseValue();
                SkipBlanks();
                if (Peek() == ',') { ++FPos; continue; }
                Expect('}');
                return v;
            }
        }
        if (c == '[') {
            v.FKind = TJsonValue::Array;
            ++FPos;
            SkipBlanks();
            if (Peek() == ']') { ++FPos; return v; }
            for (;;) {
                v.FItems.push_back(ParseValue());
                SkipBlanks();
                if (Peek() == ',') { ++FPos; continue; }
                Expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.FKind = TJsonValue::String;
            v.FString = ParseString();
            return v;
        }
        if (FText.compare(FPos, 4, "true") == 0) { FPos += 4; v.FKind = TJsonValue::Bool; v.FBool = true; return v; }
        if (FText.compare(FPos, 5, "false") == 0) { FPos += 5; v.FKind = TJsonValue::Bool; return v; }
        if (FText.compare(FPos, 4, "null") == 0) { FPos += 4; return v; }
        char* end = nullptr;
        v.FNumber = std::strtod(FText.c_str() + FPos, &end);
        if (end == FText.c_str() + FPos)
            Fail("unexpected character");
        v.FKind = TJsonValue::Number;
        FPos = static_cast<size_t>(end - FText.c_str());
        return v;
    }

    void SkipBlanks()
    {
        while (FPos < FText.size() && (FText[FPos] == ' ' || FText[FPos] == '\n' || FText[FPos] == '\r' || FText[FPos] == '\t'))
            ++FPos;
    }

private:
    char Peek() const { return FPos < FText.size() ? FText[FPos] : '\0'; }
    void Expect(char c)
    {
        if (Peek() != c)
            Fail(std::string("expected ") + c);
        ++FPos;
    }
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(FPos));
    }
    unsigned Hex4()
    {
        if (FPos + 4 > FText.size())
            Fail("short \\u escape");
        unsigned v = static_cast<unsigned>(std::stoul(FText.substr(FPos, 4), nullptr, 16));
        FPos += 4;
        return v;
    }
    static void AppendUtf8(std::string& out, unsigned cp)
    {
        if (cp < 0x80) out += static_cast<char>(cp);
        else if (cp < 0x800) { out += static_cast<char>(0xC0 | (cp >> 6)); out += static_cast<char>(0x80 | (cp & 0x3F)); }
        else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    std::string ParseString()
    {
        Expect('"');
        std::string out;
        while (FPos < FText.size() && FText[FPos] != '"') {
            char c = FText[FPos++];
            if (c != '\\') { out += c; continue; }
            char e = FText.at(FPos++);
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                unsigned cp = Hex4();
                if (cp >= 0xD800 && cp < 0xDC00 && FText.compare(FPos, 2, "\\u") == 0) {
                    FPos += 2;
                    unsigned low = Hex4();
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, cp);
                break;
            }
            default: out += e; break;
            }
        }
        Expect('"');
        return out;
    }

    const std::string& FText;
    size_t FPos = 0;
};

TJsonValue TJsonValue::Parse(const std::string& text)
{
    TJsonParser parser(text);
    TJsonValue v = parser.ParseValue();
    return v;
}

const TJsonValue& TJsonValue::operator[](const std::string& key) const
{
    static const TJsonValue null;
    auto it = FMembers.find(key);
    return it == FMembers.end() ? null : it->second;
}

TJsonValue TJsonValue::ParseFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}
