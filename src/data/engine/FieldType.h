#pragma once
// Field types the engine reports and the data layer's TField family maps.
// How each type's value travels in a TVariant:
//   ftString, ftFixedChar, ftWideString, ftMemo, ftFmtMemo   varString (UTF-8)
//   ftSmallint, ftInteger, ftWord, ftAutoInc                 varInteger
//   ftLargeint                                               varInt64
//   ftFloat                                                  varDouble
//   ftCurrency                                               varDouble (a money-shown float)
//   ftBCD                                                    varCurrency
//   ftFMTBcd                                                 varString: the exact decimal text,
//                                                            '.' before exactly Scale decimals
//   ftBoolean                                                varBoolean
//   ftDate, ftTime, ftDateTime                               varDate
//   ftBytes, ftVarBytes, ftBlob, ftGraphic, ftParadoxOle,
//   ftDBaseOle, ftTypedBinary                                varBytes
// A missing value is varNull in every type.

#include <string>

enum TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
    ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
    ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftFixedChar, ftWideString, ftLargeint, ftFMTBcd
};

const char* FieldTypeName(TFieldType type);   // "ftString", ...
bool IsBlobType(TFieldType type);             // blob, memo, fmt memo, graphic, ole, typed binary
bool IsStringType(TFieldType type);           // string, fixed char, wide string

// One column of a table as the engine describes it.
struct TEngineFieldDef {
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;          // characters of a string, bytes of ftBytes/ftVarBytes; 0 otherwise
    int Precision = 0;     // total digits of a numeric column when the format has them
    int Scale = 0;         // decimals of a numeric column
    bool Required = false; // the engine refuses a post that leaves it empty
    bool ReadOnly = false; // computed by the engine (auto-increment)
    std::string NativeType; // the format's own type code ("N", "C", "+", ...) for tools and messages
};
