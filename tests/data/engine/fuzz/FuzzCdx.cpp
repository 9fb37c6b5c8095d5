// The compound-index reader's fuzz target: the FoxPro tables of the corpus
// that carry a .cdx, with their memo files; the mutants damage the index as
// much as the table.  Opening checks the index against the table, and a
// table that may be written is edited, which files the changes in every tag.

#include "FuzzTarget.h"

#include "data/engine/dbf/DbfDriver.h"

#include <algorithm>

namespace {

// Companion parts count from the first extension after the table's: "cdx" is the third.
constexpr uint8_t IndexPart = 2;

std::vector<TFuzzSeed> Seeds(const std::string& sharedDir, size_t maxBytes)
{
    std::vector<TFuzzSeed> seeds = FuzzSeedsIn(sharedDir + "/testdata/dbf", FuzzDriver(), maxBytes);
    seeds.erase(std::remove_if(seeds.begin(), seeds.end(),
                               [](const TFuzzSeed& seed) {
                                   return std::none_of(seed.Parts.begin(), seed.Parts.end(),
                                                       [](const TFuzzPart& part) { return part.Kind == IndexPart; });
                               }),
                seeds.end());
    return seeds;
}

} // namespace

const TFuzzDriver& FuzzDriver()
{
    static const TFuzzDriver driver{"cdx", {"dbf", "dbt", "fpt", "cdx"}, CreateDbfDriver, Seeds};
    return driver;
}
