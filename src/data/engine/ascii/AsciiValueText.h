#pragma once
// One value of an ASCII table as text and back.  Texts are UTF-8 here; the
// record codec converts to the table's code page.
//
// Written forms: numbers with '.' as the decimal point (FLOAT and CURRENCY
// with the column's decimals, or the shortest exact form when it has none),
// BOOL as T / F, DATE as m/d/yyyy, TIME as hh:mm:ss (24-hour, with .zzz when
// there are milliseconds), TIMESTAMP as date and time with one space.
// Read forms are wider (docs/engine-ascii.md lists them).

#include "data/engine/ascii/AsciiSchema.h"
#include "platform/Variant.h"

#include <string>
#include <string_view>

// The value of a field's text.  Blank text and text the type cannot read
// give Null (the record codec keeps such text unchanged when the value is
// not edited).  `quoted` text of a CHAR column is taken as it stands, so a
// quoted empty text is an empty string rather than Null.
TVariant AsciiTextToValue(const TAsciiField& field, std::string_view text, bool quoted);

// The text of a non-null value.  Raises EDBEngineError
// (DBIERR_INVALIDFIELDVALUE) naming the field when the value cannot be
// stored in the column's type.
std::string AsciiValueToText(const TAsciiField& field, const TVariant& value);

// Date and time texts on their own, for the forms listed above.
bool ParseAsciiDate(std::string_view text, TDateTime& value);
bool ParseAsciiTime(std::string_view text, TDateTime& value);
bool ParseAsciiTimestamp(std::string_view text, TDateTime& value);
