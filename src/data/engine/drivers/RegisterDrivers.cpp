#include "data/engine/drivers/RegisterDrivers.h"

#include "data/engine/Engine.h"
#include "data/engine/ascii/AsciiDriver.h"
#include "data/engine/dbf/DbfDriver.h"
#include "data/engine/paradox/ParadoxDriver.h"

void RegisterBuiltinDrivers(TEngine& engine)
{
    engine.RegisterDriver(CreateDbfDriver());
    engine.RegisterDriver(CreateAsciiDriver());
    engine.RegisterDriver(CreateParadoxDriver());
}
