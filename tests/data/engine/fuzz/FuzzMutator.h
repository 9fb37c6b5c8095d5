#pragma once
// Damage of the kinds files meet: bit flips, stray bytes, runs of 0x00 and
// 0xFF, cut files, counts and lengths set to zero or to huge values, bytes
// copied over other structures, and missing companion files.

#include "FuzzInput.h"

#include <random>
#include <vector>

void MutateFuzzParts(std::vector<TFuzzPart>& parts, std::mt19937_64& random);
