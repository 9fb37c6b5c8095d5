#pragma once
// The structure of a .dbf file as its header describes it: dialect,
// counts and lengths, code page, and one descriptor per field with the
// field's place in the record and the type it shows as.

#include "data/engine/FieldType.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TDbfDialect {
    DBase3,        // dBASE III PLUS, FoxBASE+, Clipper and compatible writers
    DBase4,        // dBASE IV / 5
    DBase7,        // dBASE level 7 (48-byte descriptors)
    FoxPro2,       // FoxBASE / FoxPro 2.x with .fpt memos
    VisualFoxPro   // Visual FoxPro (null flags, binary types, backlink)
};

enum class TDbfMemoKind { None, Dbt3, Dbt4, Fpt };

struct TDbfField {
    std::string Name;          // as shown (UTF-8, made unique)
    char Type = 'C';           // the format's type letter
    int Offset = 0;            // byte offset in the record (0 is the deletion flag)
    int Length = 0;
    int Decimals = 0;
    uint8_t Flags = 0;         // Visual FoxPro field flags (0 elsewhere)
    int NullBit = -1;          // bit in _NullFlags that says "null"
    int VarLengthBit = -1;     // bit in _NullFlags that says "shorter than the width"
    bool Hidden = false;       // system column (_NullFlags, _DBASELOCK)
    bool Binary = false;       // no code-page translation
    bool Memo = false;         // value lives in the memo file
    bool Known = true;         // the engine understands the type
    TFieldType DataType = ftUnknown;
    uint32_t DescriptorPos = 0; // file offset of the field's descriptor
};

struct TDbfHeader {
    uint8_t Version = 0;
    TDbfDialect Dialect = TDbfDialect::DBase3;
    TDbfMemoKind MemoKind = TDbfMemoKind::None;
    uint32_t RecordCount = 0;   // as the header states it
    uint32_t HeaderLength = 0;
    uint32_t RecordLength = 0;
    uint8_t TableFlags = 0;     // byte 28
    uint8_t LanguageDriver = 0; // byte 29
    std::string LanguageDriverName;   // dBASE 7
    int CodePage = 936;
    bool CodePageMarked = false;      // the language driver byte (or name) names a code page
    bool Encrypted = false;
    bool Level2 = false;        // a dBASE II file (fixed 521-byte header, 16-bit count at 1)
    bool ProductionIndexFlag = false;
    std::vector<TDbfField> Fields;    // every field, hidden ones included
    int NullFlagsField = -1;          // index into Fields
    bool HasMemoFields = false;
    // Reasons the table must not be written (empty: it may be), and
    // tolerated oddities that do not stand in the way of writing.
    std::vector<std::string> ReadOnlyReasons;
    std::vector<std::string> Notes;

    bool IsFoxPro() const { return Dialect == TDbfDialect::FoxPro2 || Dialect == TDbfDialect::VisualFoxPro; }
    uint64_t RecordOffset(uint64_t index) const { return HeaderLength + index * RecordLength; }
};

// Bytes 0-31 of every .dbf: enough to know how long the header is.
constexpr size_t DbfPrefixSize = 32;
// The date of the last update: bytes 1 to 3 of the header (year, month, day).
constexpr size_t DbfDateStart = 1;
constexpr size_t DbfDateEnd = 4;

// Header length the prefix states, validated against the file size;
// raises DBIERR_HEADERCORRUPT / DBIERR_UNKNOWNTBLTYPE for a file that is
// not a table.
uint32_t DbfHeaderLength(const uint8_t* prefix, uint64_t fileSize, const std::string& path);

// Parses the whole header (HeaderLength bytes).  Raises EDBEngineError for a
// header that cannot be trusted; tolerable damage goes into Warnings.
// `codePage` (not 0) is the one to read the texts in instead of the mark's.
TDbfHeader ParseDbfHeader(const std::vector<uint8_t>& header, uint64_t fileSize, const std::string& path,
                          int codePage = 0);

// The code page a language driver byte (or dBASE 7 driver name) stands for;
// 936 when it says nothing definite.
int DbfCodePageFromLanguageDriver(uint8_t languageDriver);
int DbfCodePageFromDriverName(const std::string& name);
// True when the byte (or name) names a code page at all.
bool DbfLanguageDriverKnown(uint8_t languageDriver);
bool DbfDriverNameKnown(const std::string& name);
// The language driver byte to store for a code page in a new table.
uint8_t DbfLanguageDriverForCodePage(int codePage, bool foxPro);

// dBASE II files also start with 0x02 (as FoxBASE ones do) but have a
// fixed layout: true when `start` (the file's first bytes, up to 64 KB) is
// one.  Such tables are read-only.
constexpr size_t DbfLevel2HeaderSize = 521;
bool DbfIsLevel2Header(const std::vector<uint8_t>& start, uint64_t fileSize);
TDbfHeader ParseDbfLevel2Header(const std::vector<uint8_t>& header, uint64_t fileSize, const std::string& path);

// Live record count that fits the file, given its size.
uint32_t DbfAvailableRecords(const TDbfHeader& header, uint64_t fileSize);
