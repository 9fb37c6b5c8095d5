#pragma once
// An independent check of unencrypted Paradox files written by the
// engine: the data block chain against the header, key order along the
// chain, and the primary index tree against the data blocks.

#include <string>

// Chain, counts and header agree; keyed tables are in strict key order.
bool PxTableIsConsistent(const std::string& dbPath, std::string* why = nullptr);
// The above, and the .PX beside the table describes its data blocks exactly.
bool PxIndexIsValid(const std::string& dbPath, std::string* why = nullptr);
