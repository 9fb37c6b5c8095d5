#include "data/engine/ascii/AsciiRecordCodec.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/ascii/AsciiValueText.h"

namespace {

// In the double-byte code pages a lead byte starts a character of two
// bytes whose second byte may look like a separator or a quote.
bool IsLeadByte(int codePage, unsigned char c)
{
    switch (codePage) {
    case 932: return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936: case 949: case 950: return c >= 0x81 && c <= 0xFE;
    default: return false;
    }
}

// The offset of the next character `c` at or after `from`, stepping over
// whole characters; npos when there is none.
size_t FindCharacter(std::string_view line, char c, size_t from, int codePage)
{
    for (size_t pos = from; pos < line.size(); ++pos) {
        if (line[pos] == c)
            return pos;
        if (IsLeadByte(codePage, static_cast<unsigned char>(line[pos])))
            ++pos;
    }
    return std::string_view::npos;
}

// Reads a quoted value starting at the opening delimiter; returns the
// offset after the closing one (the line's length when there is none).
size_t ReadQuoted(std::string_view line, size_t open, char delimiter, int codePage, std::string& text, bool& closed)
{
    closed = true;
    size_t pos = open + 1;
    while (pos < line.size()) {
        size_t close = FindCharacter(line, delimiter, pos, codePage);
        if (close == std::string_view::npos)
            break;
        text.append(line.substr(pos, close - pos));
        if (close + 1 < line.size() && line[close + 1] == delimiter) {
            text += delimiter;
            pos = close + 2;
            continue;
        }
        return close + 1;
    }
    text.append(line.substr(std::min(pos, line.size())));
    closed = false;
    return line.size();
}

bool Unchanged(const TVariant& before, const TVariant& after)
{
    if (before.IsNull() || after.IsNullOrEmpty())
        return before.IsNull() && after.IsNullOrEmpty();
    return before.VarType() == after.VarType() && TVariant::Compare(before, after) == 0;
}

bool RecordHasColumns(const TEngineRecord& record, const TAsciiSchema& schema)
{
    return record.size() == schema.Fields.size();
}

} // namespace

std::vector<TAsciiValueSpan> SplitDelimitedLine(std::string_view line, char separator, char delimiter, size_t count,
                                                size_t& tail, int codePage)
{
    std::vector<TAsciiValueSpan> spans;
    spans.reserve(count);
    size_t pos = 0;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= line.size() || line[pos] != separator)
                break;
            ++pos;
        }
        TAsciiValueSpan span;
        span.Begin = pos;
        size_t quote = pos;
        if (separator != ' ')
            while (quote < line.size() && line[quote] == ' ')
                ++quote;
        if (delimiter != 0 && quote < line.size() && line[quote] == delimiter) {
            span.Quoted = true;
            size_t after = ReadQuoted(line, quote, delimiter, codePage, span.Text, span.Closed);
            size_t end = FindCharacter(line, separator, after, codePage);
            if (end == std::string_view::npos)
                end = line.size();
            // Text between the closing quote and the separator is kept,
            // unless it is only blanks.
            std::string_view extra = line.substr(after, end - after);
            if (extra.find_first_not_of(' ') != std::string_view::npos)
                span.Text.append(extra);
            span.End = end;
        } else {
            size_t end = FindCharacter(line, separator, pos, codePage);
            span.End = end == std::string_view::npos ? line.size() : end;
            span.Text = std::string(line.substr(pos, span.End - pos));
        }
        pos = span.End;
        spans.push_back(std::move(span));
    }
    tail = pos;
    return spans;
}

TAsciiRecordCodec::TAsciiRecordCodec(const TAsciiSchema& schema) : FSchema(schema), FCodePage(schema.CodePage) {}

TEngineRecord TAsciiRecordCodec::Decode(std::string_view line) const
{
    TEngineRecord record(FSchema.Fields.size(), TVariant::Null());
    if (FSchema.FileType == TAsciiFileType::Fixed) {
        for (size_t i = 0; i < FSchema.Fields.size(); ++i) {
            const TAsciiField& field = FSchema.Fields[i];
            if (static_cast<size_t>(field.Offset) >= line.size())
                continue;
            std::string text = FCodePage.ToUtf8(line.substr(field.Offset, field.Width));
            record[i] = AsciiTextToValue(field, text, false);
        }
        return record;
    }
    size_t tail = 0;
    std::vector<TAsciiValueSpan> spans = SplitDelimitedLine(line, FSchema.Separator, FSchema.Delimiter,
                                                            FSchema.Fields.size(), tail, FCodePage.Number());
    for (size_t i = 0; i < spans.size(); ++i)
        record[i] = AsciiTextToValue(FSchema.Fields[i], FCodePage.ToUtf8(spans[i].Text), spans[i].Quoted);
    return record;
}

std::string TAsciiRecordCodec::Encode(const TEngineRecord& record, const std::string_view* oldLine) const
{
    if (!RecordHasColumns(record, FSchema))
        RaiseEngineError(DBIERR_INVALIDPARAM, {"The record has " + std::to_string(record.size()) +
                                                   " values; the table has " + std::to_string(FSchema.Fields.size()) +
                                                   " columns."});
    return FSchema.FileType == TAsciiFileType::Fixed ? EncodeFixed(record, oldLine) : EncodeDelimited(record, oldLine);
}

std::string TAsciiRecordCodec::Quoted(std::string_view bytes) const
{
    char delimiter = FSchema.Delimiter;
    std::string quoted(1, delimiter);
    for (size_t pos = 0; pos < bytes.size(); ++pos) {
        quoted += bytes[pos];
        if (IsLeadByte(FCodePage.Number(), static_cast<unsigned char>(bytes[pos])) && pos + 1 < bytes.size())
            quoted += bytes[++pos];
        else if (bytes[pos] == delimiter)
            quoted += delimiter;
    }
    quoted += delimiter;
    return quoted;
}

std::string TAsciiRecordCodec::DelimitedText(const TAsciiField& field, const TVariant& value) const
{
    if (value.IsNullOrEmpty())
        return std::string();
    std::string text = AsciiValueToText(field, value);
    char delimiter = FSchema.Delimiter;
    bool holdsSeparator = text.find(FSchema.Separator) != std::string::npos;
    if (delimiter == 0) {
        if (holdsSeparator)
            RaiseEngineError(DBIERR_INVALIDFIELDVALUE,
                             {"Field: " + field.Name, std::string("The value holds the separator \"") +
                                                          FSchema.Separator +
                                                          "\" and the table has no DELIMITER to quote it."});
        return FCodePage.FromUtf8(text);
    }
    // Texts are always quoted; other values when they hold a separator or
    // a quote.
    bool needsQuotes = field.Type == TAsciiType::Char || holdsSeparator || text.find(delimiter) != std::string::npos;
    std::string bytes = FCodePage.FromUtf8(text);
    return needsQuotes ? Quoted(bytes) : bytes;
}

std::string TAsciiRecordCodec::EncodeDelimited(const TEngineRecord& record, const std::string_view* oldLine) const
{
    std::vector<TAsciiValueSpan> oldSpans;
    size_t tail = 0;
    if (oldLine)
        oldSpans = SplitDelimitedLine(*oldLine, FSchema.Separator, FSchema.Delimiter, FSchema.Fields.size(), tail,
                                      FCodePage.Number());
    // Unchanged values keep their bytes exactly; new ones are converted.
    std::string line;
    for (size_t i = 0; i < FSchema.Fields.size(); ++i) {
        const TAsciiField& field = FSchema.Fields[i];
        if (i > 0)
            line += FSchema.Separator;
        if (i < oldSpans.size()) {
            const TAsciiValueSpan& span = oldSpans[i];
            if (Unchanged(AsciiTextToValue(field, FCodePage.ToUtf8(span.Text), span.Quoted), record[i])) {
                // An unclosed quote would swallow the values after it: its
                // bytes are quoted anew, and properly closed.
                if (span.Closed)
                    line.append(oldLine->substr(span.Begin, span.End - span.Begin));
                else
                    line += Quoted(span.Text);
                continue;
            }
        }
        line += DelimitedText(field, record[i]);
    }
    if (oldLine && tail < oldLine->size())
        line.append(oldLine->substr(tail));
    return line;
}

std::string TAsciiRecordCodec::EncodeFixed(const TEngineRecord& record, const std::string_view* oldLine) const
{
    std::string line = oldLine ? std::string(*oldLine) : std::string();
    size_t length = static_cast<size_t>(FSchema.FixedLineLength());
    if (line.size() < length)
        line.resize(length, ' ');
    for (size_t i = 0; i < FSchema.Fields.size(); ++i) {
        const TAsciiField& field = FSchema.Fields[i];
        std::string_view slot(line.data() + field.Offset, field.Width);
        if (oldLine && Unchanged(AsciiTextToValue(field, FCodePage.ToUtf8(slot), false), record[i]))
            continue;
        std::string bytes;
        if (!record[i].IsNullOrEmpty())
            bytes = FCodePage.FromUtf8(AsciiValueToText(field, record[i]));
        if (bytes.size() > static_cast<size_t>(field.Width))
            RaiseEngineError(DBIERR_INVALIDFIELDVALUE,
                             {"Field: " + field.Name, "The value \"" + record[i].AsString() + "\" needs " +
                                                          std::to_string(bytes.size()) + " characters; the column holds " +
                                                          std::to_string(field.Width) + "."});
        std::string padding(field.Width - bytes.size(), ' ');
        std::string cell = field.Type == TAsciiType::Char ? bytes + padding : padding + bytes;
        line.replace(field.Offset, field.Width, cell);
    }
    return line;
}
