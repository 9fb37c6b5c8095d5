#pragma once
// Position labels: byte strings that order the records of a table whose
// bookmarks are not keys.  Records present at open get 8-byte labels of
// their number; a record inserted between two others gets a label that
// sorts between theirs, so no other record's label ever changes.

#include <cstdint>
#include <string>

namespace px {

std::string EncodeLabel(uint64_t number);
// A label strictly between `low` and `high` (low < high); an empty `high`
// means "after everything".
std::string LabelBetween(const std::string& low, const std::string& high);

} // namespace px
