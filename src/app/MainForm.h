#pragma once
// TfrmMain: the main window.  A menu to choose a table file, the navigator
// bar across the top, the data grid in the client area and a status bar
// showing the chosen file's path.  It owns one table and one data source.

#include "data/DataSource.h"
#include "data/Table.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class TCodePagePanel;
class TDBGridGx;
class TDBNavigator;
class TReadOnlyPanel;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // ---- components
    TTable tblDBF;
    TDataSource dsrcDBF;

    TDBNavigator* DBNavigator1() const { return FDBNavigator1; }
    TDBGridGx* dgrdDBF() const { return FdgrdDBF; }
    QStatusBar* StatusBar1() const { return statusBar(); }
    QString StatusPanelText() const;
    // The panels at the bar's right end, shown while a table is open: its
    // code page (with a menu to read it in another) and, when it cannot be
    // modified, why.
    TCodePagePanel* CodePagePanel() const { return FCodePagePanel; }
    TReadOnlyPanel* ReadOnlyPanel() const { return FReadOnlyPanel; }

    QMenu* padFile() const { return FpadFile; }
    QAction* itmDBF() const { return FitmDBF; }
    QAction* N1() const { return FN1; }
    QAction* itmExit() const { return FitmExit; }
    QMenu* padHelp() const { return FpadHelp; }
    QAction* itmAbout() const { return FitmAbout; }

    // The path most recently chosen in the file dialog.
    const QString& TableFileName() const { return FTableFileName; }

    // ---- event handlers
    void FormCreate();
    void itmDBFClick();
    void itmExitClick();
    void itmAboutClick();

    // Opens the table file named on the command line exactly as if it had
    // been chosen in the file dialog; a failure is reported as there.
    void OpenAtStart(const QString& path);
    // Reads the open table again in another code page (0: its own), keeping
    // the current record; an edit in progress is posted first.
    void ReopenInCodePage(int codePage);

protected:
    void closeEvent(QCloseEvent* event) override;   // FormClose

private:
    void CreateMenu();
    void CreateClientArea();
    void CreateStatusBar();
    void SetStatusPanelText(const QString& text);
    void OpenTableFile(const QString& path);
    void UpdateTablePanels();

    TDBNavigator* FDBNavigator1 = nullptr;
    TDBGridGx* FdgrdDBF = nullptr;
    QLabel* FStatusPanel0 = nullptr;
    TReadOnlyPanel* FReadOnlyPanel = nullptr;
    TCodePagePanel* FCodePagePanel = nullptr;
    QMenu* FpadFile = nullptr;
    QAction* FitmDBF = nullptr;
    QAction* FN1 = nullptr;
    QAction* FitmExit = nullptr;
    QMenu* FpadHelp = nullptr;
    QAction* FitmAbout = nullptr;
    QString FTableFileName;
};

// Set when the application creates the main window, cleared when it closes.
extern TfrmMain* frmMain;
