#pragma once
// Key and FOR expressions of a compound index, evaluated on the raw bytes
// of a record the way the xBase programs that wrote the index evaluate
// them: field names, concatenation and arithmetic, comparisons and logic,
// and the string, number and date functions index keys are built from.
// Anything outside that set (user functions, SET-dependent functions, memo
// fields, other tables) makes the expression unsupported: the parser
// raises and the caller treats the index as one it cannot maintain.

#include "data/engine/dbf/DbfHeader.h"

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace cdx {

// The expression cannot be evaluated by this engine; what() says why.
class EUnsupportedExpression : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Result types: character, numeric, date, logical; 'I' is a bare integer
// field (4-byte keys), numeric everywhere else.
struct TValue {
    char Type = 'C';
    std::string Text;       // C
    double Number = 0;      // N, I; D: the Julian day number (0 for an empty date)
    bool Logical = false;   // L
    bool Null = false;
};

// What an expression reads besides the record's bytes.
struct TRecordContext {
    const uint8_t* Record = nullptr;   // record bytes, deletion flag first
    uint32_t RecNo = 0;                // 1-based
};

// Upper- and lower-case partners of every byte of the table's code page.
struct TCaseTables {
    std::array<uint8_t, 256> Upper{};
    std::array<uint8_t, 256> Lower{};
    bool DoubleByte = false;   // lead bytes (0x81 and up) carry a second byte
};
TCaseTables BuildCaseTables(int codePage);

class TExpression {
public:
    // Parses `text` against the table's fields; raises EUnsupportedExpression.
    TExpression(const std::string& text, const TDbfHeader& table, const TCaseTables& cases);
    ~TExpression();
    TExpression(const TExpression&) = delete;
    TExpression& operator=(const TExpression&) = delete;

    char ResultType() const;
    bool ReadsDeletedFlag() const { return FReadsDeleted; }
    const std::string& Text() const { return FText; }
    void Evaluate(const TRecordContext& context, TValue& result) const;

    struct TNode;

private:
    std::string FText;
    std::unique_ptr<TNode> FRoot;
    const TDbfHeader& FTable;
    const TCaseTables& FCases;
    bool FReadsDeleted = false;

    friend class TParser;
};

// Julian day number of a calendar date (2000-01-01 is 2451545).
int64_t JulianDay(int year, int month, int day);

} // namespace cdx
