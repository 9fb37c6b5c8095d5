#pragma once
// The schema of an ASCII table: the ".sch" file beside the ".txt" file.
// It is an INI-style text with one section named after the table:
//   FILETYPE = VARYING | FIXED, CHARSET, CODEPAGE, DELIMITER, SEPARATOR and
//   FieldN = name,type,width,decimals,offset for N = 1, 2, ...

#include "data/engine/FieldType.h"

#include <string>
#include <vector>

enum class TAsciiFileType { Varying, Fixed };

enum class TAsciiType { Char, Float, Number, Bool, LongInt, Date, Time, Timestamp, Currency };

struct TAsciiField {
    std::string Name;        // UTF-8
    TAsciiType Type = TAsciiType::Char;
    int Width = 0;           // bytes in the file (FIXED), declared width (VARYING)
    int Decimals = 0;
    int Offset = 0;          // 0-based byte offset of the column in a FIXED line
};

struct TAsciiSchema {
    std::string TableName;
    TAsciiFileType FileType = TAsciiFileType::Varying;
    int CodePage = 0;        // 0: not recorded (read as 936)
    char Delimiter = '"';    // quote around text values (VARYING); 0: none
    char Separator = ',';    // between values (VARYING)
    std::vector<TAsciiField> Fields;

    // Bytes of a FIXED line: the end of the last column.
    int FixedLineLength() const;
};

// Parses a schema text (field names in its code page); raises
// EDBEngineError (DBIERR_HEADERCORRUPT) naming the file and the fault.
// `tableName` picks the section; without a section of that name the first
// one is read.
TAsciiSchema ParseAsciiSchema(const std::string& text, const std::string& tableName, const std::string& path);

// The schema file's text for a schema, names converted to its code page.
std::string FormatAsciiSchema(const TAsciiSchema& schema, const std::string& lineEnd);

// Type names in the schema ("CHAR", "FLOAT", ...) and the engine field types.
const char* AsciiTypeName(TAsciiType type);
bool AsciiTypeFromName(const std::string& name, TAsciiType& type);
TFieldType AsciiTypeToFieldType(TAsciiType type);
bool AsciiTypeFromFieldType(TFieldType fieldType, TAsciiType& type);

// The engine's description of a schema field.
TEngineFieldDef AsciiFieldDef(const TAsciiField& field);

// Charset names of the CHARSET entry and the code page they stand for.
int AsciiCharsetCodePage(const std::string& charset, int explicitCodePage);
std::string AsciiCharsetName(int codePage);
