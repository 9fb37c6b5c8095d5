#pragma once
// Registers every driver linked into the program with an engine.

class TEngine;

void RegisterBuiltinDrivers(TEngine& engine);
