#pragma once
// The orders a memory table's column can be searched in, and how values
// compare in them: the keys shared by the column indexes and by the check
// that a column's rows already stand in such an order.

#include "platform/Variant.h"

#include <cstdint>
#include <string>
#include <string_view>

enum class TMemIndexOrder {
    Values,       // by TVariant::Compare
    Text,         // by the bytes of the values' texts
    FoldedText    // by the bytes of their case foldings (CaseFold.h)
};

inline bool IsTextOrder(TMemIndexOrder order) { return order != TMemIndexOrder::Values; }

// The bytes a text value is ordered by; `scratch` holds them when they are
// not the value's own.
std::string_view IndexTextKey(TMemIndexOrder order, const TVariant& value, std::string& scratch);

// The head of a present value: for a text order the 8 bytes of its key from
// `depth` on, big-endian, 0-padded; for numbers their order-keeping bits.
// Heads order values wherever they differ.
uint64_t IndexHead(TMemIndexOrder order, const TVariant& value, size_t depth = 0);

// Whether a present value's head holds its whole key, so that values with
// equal heads of this kind are equal (a short text without 0 bytes).
bool IndexHeadIsWholeKey(TMemIndexOrder order, const TVariant& value);

// Two present values in the order (<0, 0, >0), their heads given.
int CompareIndexValues(TMemIndexOrder order, uint64_t aHead, const TVariant& a, uint64_t bHead, const TVariant& b);
// Two values, either of which may be missing; missing values come first.
int CompareIndexValues(TMemIndexOrder order, const TVariant& a, const TVariant& b);
