#pragma once
// Whether an UPPER() tag holds every record that a search ignoring case
// finds: the tag's upper-case mapping (one byte of the code page to one
// byte) must give alike keys wherever case folding finds alike texts.  In
// a single-byte code page every pair of characters is checked once; in
// other code pages the mapping changes only ASCII letters, so only keys of
// ASCII characters qualify, and only when no other character the code
// page holds folds to one of their letters (the Kelvin sign to "k").

#include "data/engine/CodePage.h"
#include "data/engine/dbf/CdxExpression.h"

#include <string_view>

namespace cdx {

bool UpperKeysFindFoldedText(const TCaseTables& cases, const TCodePage& codePage, std::string_view key);

} // namespace cdx
