// The Paradox driver's fuzz target: a .db with its .mb blob file, .px
// primary index and .val validity checks.

#include "FuzzTarget.h"

#include "data/engine/paradox/ParadoxDriver.h"

namespace {

std::vector<TFuzzSeed> Seeds(const std::string& sharedDir, size_t maxBytes)
{
    return FuzzSeedsIn(sharedDir + "/testdata/paradox", FuzzDriver(), maxBytes);
}

} // namespace

const TFuzzDriver& FuzzDriver()
{
    static const TFuzzDriver driver{"paradox", {"db", "mb", "px", "val"}, CreateParadoxDriver, Seeds};
    return driver;
}
