#pragma once
// Running the command-line tools built beside a test program, and
// collecting what a command prints.

#include <string>

// The path of tablecat (build/src beside build/tests); empty when it is not built.
std::string TablecatPath();

struct TRun {
    int ExitCode = -1;
    std::string Output;
};
// Runs a shell command; its standard output and exit status.
TRun RunCommand(const std::string& command);
