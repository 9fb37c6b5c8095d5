#pragma once
// What the engine understands of a table's validity-check file (.VAL):
// the required flags of the fields, and whether the file holds anything
// the engine does not enforce (minimum, maximum, picture, lookup,
// referential integrity), which makes the table read-only.

#include "data/engine/paradox/PxHeader.h"

#include <string>
#include <vector>

namespace px {

struct TPxValidity {
    std::vector<bool> Required;   // by field
    std::vector<uint8_t> Defaults; // a record holding the default values (zero elsewhere)
    bool Understood = false;      // every check is one the engine enforces
    std::string Reason;           // why not, for the read-only message

    static TPxValidity Read(const std::string& path, const TPxHeader& header);
};

} // namespace px
