#include "ui/ExceptionReport.h"

#include "ui/DialogService.h"

#include <cstdio>

namespace {

// Last resort when even the message box cannot be shown (no display and
// no answerer): the message goes to the error output, the program goes on.
void WriteToStderr(const char* what)
{
    std::fprintf(stderr, "tablemaint: %s\n", what);
}

void ShowUnknownException()
{
    MessageDlg("Unknown exception", mtError, {mbOK});
}

} // namespace

void ReportException(std::exception_ptr error)
{
    if (!error)
        return;
    try {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            ShowException(e);
        } catch (...) {
            ShowUnknownException();
        }
    } catch (const std::exception& reportFailure) {
        WriteToStderr(reportFailure.what());
    } catch (...) {
        WriteToStderr("an exception could not be reported");
    }
}
