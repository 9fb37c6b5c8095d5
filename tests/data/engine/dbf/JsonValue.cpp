#include "JsonValue.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

class TJsonParser {
public:
    explicit TJsonParser(const std::string& text) : FText(text) {}

    TJsonValue ParseDocument()
    {
        TJsonValue v = ParseValue();
        SkipSpace();
        if (FPos != FText.size())
            Fail("trailing characters");
        return v;
    }

private:
    [[noreturn]] void Fail(const std::string& what)
    {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(FPos));
    }

    void SkipSpace()
    {
        while (FPos < FText.size() && (FText[FPos] == ' ' || FText[FPos] == '\n' || FText[FPos] == '\r' || FText[FPos] == '\t'))
            ++FPos;
    }

    bool Consume(const char* word)
    {
        size_t n = std::char_traits<char>::length(word);
        if (FText.compare(FPos, n, word) != 0)
            return false;
        FPos += n;
        return true;
    }

    TJsonValue ParseValue()
    {
        SkipSpace();
        if (FPos >= FText.size())
            Fail("unexpected end");
        TJsonValue v;
        char c = FText[FPos];
        if (c == '{') {
            v.FKind = TJsonValue::Object;
            ++FPos;
            SkipSpace();
            if (FText[FPos] == '}') { ++FPos; return v; }
            for (;;) {
                SkipSpace();
                std::string key = ParseString();
                SkipSpace();
                if (FText[FPos++] != ':') Fail("':' expected");
                v.FMembers[key] = ParseValue();
                SkipSpace();
                char d = FText[FPos++];
                if (d == '}') return v;
                if (d != ',') Fail("',' expected");
            }
        }
        if (c == '[') {
            v.FKind = TJsonValue::Array;
            ++FPos;
            SkipSpace();
            if (FText[FPos] == ']') { ++FPos; return v; }
            for (;;) {
                v.FItems.push_back(ParseValue());
                SkipSpace();
                char d = FText[FPos++];
                if (d == ']') return v;
                if (d != ',') Fail("',' expected");
            }
        }
        if (c == '"') {
            v.FKind = TJsonValue::String;
            v.FString = ParseString();
            return v;
        }
        if (Consume("true")) { v.FKind = TJsonValue::Boolean; v.FBoolean = true; return v; }
        if (Consume("false")) { v.FKind = TJsonValue::Boolean; return v; }
        if (Consume("null")) return v;
        const char* start = FText.c_str() + FPos;
        char* end = nullptr;
        v.FNumber = std::strtod(start, &end);
        if (end == start) Fail("value expected");
        v.FKind = TJsonValue::Number;
        FPos += static_cast<size_t>(end - start);
        return v;
    }

    static void AppendUtf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    unsigned ParseHex4()
    {
        if (FPos + 4 > FText.size()) Fail("bad escape");
        unsigned v = static_cast<unsigned>(std::stoul(FText.substr(FPos, 4), nullptr, 16));
        FPos += 4;
        return v;
    }

    std::string ParseString()
    {
        if (FText[FPos] != '"') Fail("string expected");
        ++FPos;
        std::string out;
        while (FPos < FText.size()) {
            char c = FText[FPos++];
            if (c == '"') return out;
            if (c != '\\') { out += c; continue; }
            char e = FText[FPos++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                unsigned code = ParseHex4();
                if (code >= 0xD800 && code < 0xDC00 && FText.compare(FPos, 2, "\\u") == 0) {
                    FPos += 2;
                    unsigned low = ParseHex4();
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, code);
                break;
            }
            default: out += e; break;
            }
        }
        Fail("unterminated string");
    }

    const std::string& FText;
    size_t FPos = 0;
};

TJsonValue TJsonValue::Parse(const std::string& text)
{
    return TJsonParser(text).ParseDocument();
}

TJsonValue TJsonValue::ParseFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return Parse(buffer.str());
}

const TJsonValue& TJsonValue::operator[](const std::string& key) const
{
    static const TJsonValue none;
    auto it = FMembers.find(key);
    return it == FMembers.end() ? none : it->second;
}
