#pragma once
// The dBASE/FoxPro driver: answers the names "DBASE" and "FOXPRO".  A
// table's dialect is read from its version byte; a new table's dialect is
// chosen by TCreateTableParams::Level (see DbfCreate.h).

#include "data/engine/Engine.h"

#include <memory>

std::shared_ptr<TEngineDriver> CreateDbfDriver();
