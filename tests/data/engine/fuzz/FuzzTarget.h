#pragma once
// What a fuzz target knows of its driver, and the run of one input through
// the driver the way a user browsing and editing the table would go.

#include "FuzzInput.h"

#include "data/engine/Engine.h"

#include <memory>
#include <string>
#include <vector>

struct TFuzzSeed {
    std::string Name;
    std::vector<TFuzzPart> Parts;
};

struct TFuzzDriver {
    std::string Name;
    std::vector<std::string> Extensions;   // the table file's first, then its companions'
    std::shared_ptr<TEngineDriver> (*Create)();
    // Unmutated inputs: real tables with their companion files.
    std::vector<TFuzzSeed> (*Seeds)(const std::string& sharedDir, size_t maxBytes);
};

// The target's driver (one per fuzz program).
const TFuzzDriver& FuzzDriver();

// The seeds of the tables under `folder` whose file names end in
// `tableExtension` (any case), each with the files beside it that share its
// stem (in any case) and carry one of the driver's companion extensions.
std::vector<TFuzzSeed> FuzzSeedsIn(const std::string& folder, const TFuzzDriver& driver, size_t maxBytes);

enum class TFuzzOutcome { Opened, Refused };

// Writes the input's files into `folder`, opens the table read-only and
// reads it through, then opens it for writing and, when it may be written,
// edits, inserts and deletes.  Refused: the driver raised EDBEngineError.
// Anything else the driver throws ends the program (a finding).
TFuzzOutcome RunFuzzInput(const TFuzzDriver& driver, const uint8_t* data, size_t size, const std::string& folder);
