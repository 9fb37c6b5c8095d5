#pragma once
// One record of an ASCII table as one line of its text file and back:
// delimited (VARYING) lines with quoted texts, or fixed-length lines with
// each column at its offset.

#include "data/engine/CodePage.h"
#include "data/engine/EngineCursor.h"
#include "data/engine/ascii/AsciiSchema.h"

#include <string>
#include <string_view>
#include <vector>

// Where one value stands in a delimited line (in the file's bytes).
struct TAsciiValueSpan {
    size_t Begin = 0;       // raw bytes, quotes included
    size_t End = 0;
    std::string Text;       // the value's bytes without quotes, doubled quotes undone
    bool Quoted = false;
    bool Closed = true;     // false for a quote that runs to the end of the line
};

// Splits a delimited line into at most `count` values; `tail` receives the
// offset where the values beyond `count` start (the line's length when
// there are none).  Never fails: an unterminated quote runs to the end.
// In a double-byte code page (932, 936, 949, 950) the second byte of a
// character is never taken for a separator or a quote.
std::vector<TAsciiValueSpan> SplitDelimitedLine(std::string_view line, char separator, char delimiter, size_t count,
                                                size_t& tail, int codePage = 0);

class TAsciiRecordCodec {
public:
    explicit TAsciiRecordCodec(const TAsciiSchema& schema);

    const TAsciiSchema& Schema() const { return FSchema; }
    int CodePage() const { return FCodePage.Number(); }

    // The values of a line given in the file's bytes.
    TEngineRecord Decode(std::string_view line) const;

    // The line (in the file's bytes) for a record.  With `oldLine`, a column
    // whose value the record leaves unchanged keeps its text exactly as it
    // stood, and text beyond the known columns is kept too.  Raises
    // EDBEngineError naming the field when a value cannot be stored.
    std::string Encode(const TEngineRecord& record, const std::string_view* oldLine) const;

private:
    std::string EncodeDelimited(const TEngineRecord& record, const std::string_view* oldLine) const;
    std::string EncodeFixed(const TEngineRecord& record, const std::string_view* oldLine) const;
    // A value's bytes in a delimited line, quoted as needed.
    std::string DelimitedText(const TAsciiField& field, const TVariant& value) const;
    // Bytes between delimiters, the delimiters inside doubled.
    std::string Quoted(std::string_view bytes) const;

    TAsciiSchema FSchema;
    TCodePage FCodePage;
};
