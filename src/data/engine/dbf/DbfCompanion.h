#pragma once
// Files that belong to a table (memo and index files) share its base name;
// their extension's case varies between writers, so they are looked up
// without regard to case.

#include <string>

// Full path of the file beside `tablePath` with the same base name and
// extension `extension` (".fpt"), in any case; empty when there is none.
std::string FindCompanionFile(const std::string& tablePath, const std::string& extension);

// Path for a new companion file, its extension in the case of the table's.
std::string NewCompanionPath(const std::string& tablePath, const std::string& extension);
