#pragma once
// Sorting the entries of a column index by their rows' values in one of
// the index orders.  The heads are sorted by radix (HeadRadixSort.h); only
// entries whose heads tie are ordered further, texts by their following
// bytes.  The sort is stable: entries given in table order keep it among
// equal values.

#include "data/MemIndexBlocks.h"
#include "data/MemIndexKeys.h"

void SortIndexEntries(TMemIndexOrder order, int column, TMemIndexEntry* first, TMemIndexEntry* last);
