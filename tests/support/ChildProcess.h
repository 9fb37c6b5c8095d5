#pragma once
// Running a piece of a test in a forked child process (to stop it as a
// crash would, or to give it limits of its own) and collecting how it ended.

#include <functional>

struct TChildResult {
    bool Exited = false;   // ended by _exit (code in Code), else by a signal
    int Code = 0;
    int Signal = 0;
};
// Runs `body` in a forked child process and waits for it; the child's exit
// code is what `body` returns (100 when it throws).
TChildResult RunInChild(const std::function<int()>& body);
