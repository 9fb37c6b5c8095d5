#pragma once
// How the program reports an exception that escapes an event handler: its
// message in an error box (through the dialog service), nothing for EAbort.
// The program then goes on.
//
// The toolkit's event delivery is built without cleanup for exceptions: an
// exception that unwinds through it skips the destructors of its frames.
// Every widget of ours therefore stops exceptions where the toolkit hands it
// an event (its event functions, event filters and slots) and reports them
// there, as a window procedure hands them to the application's handler.

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

// The same for an event function or event filter: its result, or, when
// it threw, the event counts as handled so it goes no further.
template <typename Handler>
bool RunEventHandler(Handler&& handler)
{
    try {
        return std::forward<Handler>(handler)();
    } catch (...) {
        ReportException(std::current_exception());
        return true;
    }
}
