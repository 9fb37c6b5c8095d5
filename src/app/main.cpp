// tablemaint: maintains the records of one dBASE or Paradox table file at a time.

#include "app/Application.h"
#include "app/ExceptionReport.h"
#include "app/FormStyle.h"
#include "app/MainForm.h"
#include "data/Session.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "grid/paint/GridPaintResources.h"
#include "ui/PasswordDialog.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    InstallFontSubstitutes();
    RegisterBuiltinDrivers(Session().Engine());
    InstallPasswordDialog(Session());
    try {
        CreateGridPaintResources();
    } catch (...) {
        // Without its cursors and fonts the grid cannot work: say why and stop.
        ReportException(std::current_exception());
        return 1;
    }

    frmMain = new TfrmMain();   // frees itself when it closes
    frmMain->show();
    return application.exec();
}
