#pragma once
// Creating empty .dbf tables (and their memo files) in every dialect.
//
// TCreateTableParams::Level chooses the dialect (case does not matter):
//   "III" / "3" / "DBASE3"                 dBASE III PLUS (.dbt memos)
//   "IV" / "4" / "DBASE4" / "DBASE" / ""   dBASE IV (.dbt memos with block headers)
//   "7" / "DBASE7"                         dBASE level 7 (48-byte field descriptors)
//   "FOXPRO2" / "FOX2" / "2"               FoxPro 2.x (.fpt memos)
//   "VFP" / "FOXPRO" / "VISUALFOXPRO"      Visual FoxPro (nullable columns, binary types)
// A field's NativeType ("C", "N", "Y", ...) picks the stored type when
// given; otherwise its DataType is mapped to the dialect's closest type.

#include "data/engine/Engine.h"
#include "data/engine/dbf/DbfHeader.h"

// Raises EDBEngineError for a definition the dialect cannot store.
void DbfCreateTable(const TCreateTableParams& params);

TDbfDialect DbfDialectFromLevel(const std::string& level);
