#pragma once
// A column of a table a test creates through a driver.

#include "data/engine/FieldType.h"

#include <string>

inline TEngineFieldDef FieldDef(const std::string& name, TFieldType type, int size = 0)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    return def;
}
