#pragma once
// The text of a footer summary value: shared by the grid's footers and the
// exporters' footer totals.

#include <cstdint>
#include <string>

class TField;

// A summary value (the value x 10000) as a field of its type shows numbers:
// integer types rounded (or through DisplayFormat), float and currency
// fields by their precision and Currency flag, BCD fields as currency.  A
// field of any other type gives otherTypeText.
std::string FormatFooterSummary(const TField& field, int64_t scaled, const std::string& otherTypeText);
