#pragma once
// The files that accompany a table file in its folder, found by base name
// and extension without regard to case (tables travel between systems
// that ignore case).

#include <string>
#include <vector>

namespace px {

struct TPxCompanions {
    std::string Blob;                  // .MB
    std::string PrimaryIndex;          // .PX
    std::string Validity;              // .VAL
    std::vector<std::string> SecondaryIndexes;   // .Xnn/.Ynn/.XGn/.YGn
    std::vector<std::string> LockFiles;          // T.LCK, PDOXUSRS.LCK, PARADOX.LCK

    static TPxCompanions Find(const std::string& tablePath);
    // The path a new companion gets: the table's base name and `extension`
    // ("MB", "PX") in the case of the table's own extension.
    static std::string NewPath(const std::string& tablePath, const std::string& extension);
};

} // namespace px
