#pragma once
// A counter of the engine's writes to table files, for tests that stop a
// writer at every step of a post: after the given number of further writes
// the process kills itself with SIGKILL, as a crash or a power cut would
// stop it.  Inert (a single relaxed load per write) unless a test sets it.

#include <cstdint>

// Kills the process right after `writes` more writes; 0 turns the hook off.
void SetKillAfterWrites(int64_t writes);
// Called by the drivers after every write, truncation or rename of a file.
void CountEngineWrite();
