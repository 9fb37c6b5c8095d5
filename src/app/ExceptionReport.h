#pragma once
// How the program reports an exception that escapes an event handler: its
// message in an error box (through the dialog service), nothing for EAbort.
// The program then goes on.

#include <exception>
#include <utility>

// Reports the given exception.
void ReportException(std::exception_ptr error);

// Runs an event handler's body and reports whatever it throws, so no
// exception unwinds through the toolkit's own code.
template <typename Handler>
void RunHandler(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        ReportException(std::current_exception());
    }
}
