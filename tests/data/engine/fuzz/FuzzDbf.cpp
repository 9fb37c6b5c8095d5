// The dBASE/FoxPro driver's fuzz target: a .dbf with its .dbt or .fpt memo file.

#include "FuzzTarget.h"

#include "data/engine/dbf/DbfDriver.h"

namespace {

std::vector<TFuzzSeed> Seeds(const std::string& sharedDir, size_t maxBytes)
{
    return FuzzSeedsIn(sharedDir + "/testdata/dbf", FuzzDriver(), maxBytes);
}

} // namespace

const TFuzzDriver& FuzzDriver()
{
    static const TFuzzDriver driver{"dbf", {"dbf", "dbt", "fpt"}, CreateDbfDriver, Seeds};
    return driver;
}
