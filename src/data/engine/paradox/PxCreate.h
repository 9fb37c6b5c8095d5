#pragma once
// Creating an empty Paradox table (.DB, and .PX when keyed, .MB when it
// has blob fields) from the engine's field definitions.

#include "data/engine/Engine.h"
#include "data/engine/paradox/PxHeader.h"

namespace px {

// The Paradox type code for a field definition (its NativeType letter
// when given, otherwise from its TFieldType); raises DBIERR_INVALIDPARAM
// naming the field when the type has no Paradox counterpart.
uint8_t PxTypeForField(const TEngineFieldDef& field);

void CreateParadoxTable(const TCreateTableParams& params);

} // namespace px
