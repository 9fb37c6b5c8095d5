#pragma once
// The ASCII driver ("ASCIIDRV"): tables stored as a ".txt" text file, one
// record a line, described by the ".sch" schema file beside it.

#include "data/engine/Engine.h"

#include <memory>
#include <string>

std::shared_ptr<TEngineDriver> CreateAsciiDriver();

// The schema file beside a text file, found without regard to the case of
// its extension; empty when there is none.
std::string FindAsciiSchemaFile(const std::string& textPath);
