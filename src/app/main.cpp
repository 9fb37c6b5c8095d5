// tablemaint: maintains the records of one dBASE or Paradox table file at a time.

#include "app/Application.h"
#include "app/FormStyle.h"
#include "app/MainForm.h"
#include "app/QtTranslations.h"
#include "data/Session.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "grid/paint/GridPaintResources.h"
#include "ui/ExceptionReport.h"
#include "ui/PasswordDialog.h"

#include <QTimer>

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    InstallQtTranslations(application);
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
    // "tablemaint FILE": opened once the window is up, as a choice in the
    // file dialog would be (its messages then show over the window).
    const QString file = TApplication::FileArgument(QCoreApplication::arguments());
    if (!file.isEmpty())
        QTimer::singleShot(0, frmMain, [file] {
            if (frmMain)
                frmMain->OpenAtStart(file);
        });
    return application.exec();
}
