#pragma once
// The Paradox driver of the table engine ("PARADOX"): .DB tables of levels
// 3 to 7 with their .MB blob files and .PX primary indexes.

#include "data/engine/Engine.h"

#include <memory>

std::shared_ptr<TEngineDriver> CreateParadoxDriver();
