#pragma once
// The outer frame of a command-line tool's main(): runs the tool and, when
// it fails, reports "NAME: message" on standard error and exits with 1.

#include "platform/Exceptions.h"

#include <cstdio>
#include <exception>

template <typename TRun>
int RunTool(const char* name, TRun run)
{
    try {
        return run();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.Message().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
    }
    return 1;
}
