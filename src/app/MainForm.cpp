#include "app/MainForm.h"

#include "app/AboutForm.h"
#include "app/CodePagePanel.h"
#include "app/DBNavigator.h"
#include "app/FormStyle.h"
#include "app/ReadOnlyPanel.h"
#include "exchange/ClipboardActions.h"
#include "grid/DBGridGx.h"
#include "ui/ExceptionReport.h"
#include "ui/OpenDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include <functional>
#include <memory>

TfrmMain* frmMain = nullptr;

namespace {

constexpr int FormLeft = 192, FormTop = 133, FormWidth = 677, FormHeight = 494;
// The client area below the menu: navigator bar, grid, status bar.
constexpr int NavigatorHeight = 25;
constexpr int GridHeight = 399;
constexpr int StatusBarHeight = 24;
constexpr int StatusPanelWidth = 50;

const char* const NavigatorHints[NavigateBtnCount] = {
    "首记录", "前一记录", "下一记录", "末记录", "增加记录", "删除记录", "编辑记录", "提交修改", "取消修改", "刷新",
};

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Brings the status bar's table panels up to date on every way out of an
// opening, a failed one included.
class TPanelsUpdate {
public:
    explicit TPanelsUpdate(std::function<void()> update) : FUpdate(std::move(update)) {}
    ~TPanelsUpdate() { FUpdate(); }
    TPanelsUpdate(const TPanelsUpdate&) = delete;
    TPanelsUpdate& operator=(const TPanelsUpdate&) = delete;

private:
    std::function<void()> FUpdate;
};

} // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Text("数据表记录维护（.DBF .DB）"));
    ApplyFormStyle(*this);
    dsrcDBF.SetDataSet(&tblDBF);

    CreateMenu();
    CreateClientArea();
    CreateStatusBar();

    const QSize client = ClientSizeOfFrame(FormWidth, FormHeight);
    move(FormLeft, FormTop);
    resize(client.width(), menuBar()->sizeHint().height() + NavigatorHeight + GridHeight + StatusBarHeight);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    if (frmMain == this)
        frmMain = nullptr;
}

void TfrmMain::CreateMenu()
{
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);

    FpadFile = bar->addMenu(Text("选择(&S)"));
    FpadFile->setObjectName(QStringLiteral("padFile"));
    FitmDBF = FpadFile->addAction(Text("选择要操作数据表(&D)..."));
    FitmDBF->setObjectName(QStringLiteral("itmDBF"));
    FN1 = FpadFile->addSeparator();
    FN1->setObjectName(QStringLiteral("N1"));
    FitmExit = FpadFile->addAction(Text("退出(&X)"));
    FitmExit->setObjectName(QStringLiteral("itmExit"));

    FpadHelp = bar->addMenu(Text("帮助(&H)"));
    FpadHelp->setObjectName(QStringLiteral("padHelp"));
    FitmAbout = FpadHelp->addAction(Text("关于(&A)..."));
    FitmAbout->setObjectName(QStringLiteral("itmAbout"));

    connect(FitmDBF, &QAction::triggered, this, [this] { RunHandler([this] { itmDBFClick(); }); });
    connect(FitmExit, &QAction::triggered, this, [this] { RunHandler([this] { itmExitClick(); }); });
    connect(FitmAbout, &QAction::triggered, this, [this] { RunHandler([this] { itmAboutClick(); }); });
}

void TfrmMain::CreateClientArea()
{
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    FDBNavigator1 = new TDBNavigator(client);
    FDBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    FDBNavigator1->setFixedHeight(NavigatorHeight);
    QStringList hints;
    for (const char* hint : NavigatorHints)
        hints << Text(hint);
    FDBNavigator1->SetHints(hints);
    FDBNavigator1->SetDataSource(&dsrcDBF);
    layout->addWidget(FDBNavigator1);

    // The data grid fills the rest of the client area and is the first (and
    // only) control in the tab order.
    FdgrdDBF = new TDBGridGx(client);
    FdgrdDBF->setObjectName(QStringLiteral("dgrdDBF"));
    FdgrdDBF->SetDataSource(&dsrcDBF);
    FdgrdDBF->SetFooterColor(clWindow);
    const TFontGx gridTextFont(FormFont(), clWindowText);
    FdgrdDBF->SetTitleFont(gridTextFont);
    FdgrdDBF->SetFooterFont(gridTextFont);
    // Copy, cut, paste and delete of the selection through the clipboard,
    // from the grid's keys and the standard edit actions.
    FdgrdDBF->SetClipboardActions(std::make_unique<TDBGridGxClipboardActions>());
    FdgrdDBF->SetEditActions({geaCutGx, geaCopyGx, geaPasteGx, geaDeleteGx, geaSelectAllGx});
    layout->addWidget(FdgrdDBF, 1);

    setCentralWidget(client);
    FdgrdDBF->setFocus();
}

void TfrmMain::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(StatusBarHeight);
    // The only panel is also the last one, so it stretches to the bar's right edge.
    FStatusPanel0 = new QLabel(bar);
    FStatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    FStatusPanel0->setMinimumWidth(StatusPanelWidth);
    FStatusPanel0->setFrameShape(QFrame::Panel);
    FStatusPanel0->setFrameShadow(QFrame::Sunken);
    bar->addWidget(FStatusPanel0, 1);
    // Beyond the design's one panel: hidden until a table is open.
    FReadOnlyPanel = new TReadOnlyPanel(bar);
    bar->addPermanentWidget(FReadOnlyPanel);
    FCodePagePanel = new TCodePagePanel(bar);
    FCodePagePanel->hide();
    FCodePagePanel->OnChoose = [this](int codePage) { ReopenInCodePage(codePage); };
    bar->addPermanentWidget(FCodePagePanel);
}

void TfrmMain::UpdateTablePanels()
{
    if (!tblDBF.Active()) {
        FReadOnlyPanel->ShowReason(std::string());
        FCodePagePanel->hide();
        return;
    }
    FCodePagePanel->ShowChoice(tblDBF.CodePageChoice(), tblDBF.CodePage());
    FCodePagePanel->show();
    FReadOnlyPanel->ShowReason(tblDBF.ReadOnlyReason());
}

QString TfrmMain::StatusPanelText() const
{
    return FStatusPanel0->text();
}

void TfrmMain::SetStatusPanelText(const QString& text)
{
    FStatusPanel0->setText(text);
}

// ---- event handlers

void TfrmMain::FormCreate()
{
    SetStatusPanelText(Text("请选择需要编辑的表..."));
}

void TfrmMain::itmDBFClick()
{
    // The dialog belongs to this call and is freed on every way out of it.
    auto dialog = std::make_unique<TOpenDialog>();
    dialog->Filter = "DBase文件(*.dbf)|*.dbf|Paradox文件(*.db)|*.db";
    dialog->DefaultExt = "dbf";
    dialog->Title = "数据文件";
    // Every choice starts from the root, never from the previous folder.
    dialog->InitialDir = "/";
    if (!dialog->Execute())
        return;
    OpenTableFile(QString::fromStdString(dialog->FileName));
}

void TfrmMain::OpenTableFile(const QString& path)
{
    TPanelsUpdate panels([this] { UpdateTablePanels(); });
    // The path shows before the table is touched, so it stays even when
    // opening fails.
    SetStatusPanelText(path);
    FTableFileName = path;

    tblDBF.Close();
    tblDBF.SetDatabaseName("");
    tblDBF.SetTableType(ttDefault);
    tblDBF.SetCodePage(0);   // a newly chosen table reads in its own code page
    tblDBF.SetTableName(FTableFileName.toStdString());
    tblDBF.Open();
    // A table put back after another program stopped in the middle of a change says so.
    if (!tblDBF.RecoveryNote().empty())
        SetStatusPanelText(FTableFileName + QStringLiteral("  ") + QString::fromStdString(tblDBF.RecoveryNote()));
}

void TfrmMain::OpenAtStart(const QString& path)
{
    RunHandler([&] { OpenTableFile(path); });
}

void TfrmMain::ReopenInCodePage(int codePage)
{
    if (!tblDBF.Active() || codePage == tblDBF.CodePage())
        return;
    tblDBF.CheckBrowseMode();
    const std::string bookmark = tblDBF.IsEmpty() ? std::string() : tblDBF.Bookmark();
    TPanelsUpdate panels([this] { UpdateTablePanels(); });
    tblDBF.Close();
    tblDBF.SetCodePage(codePage);
    tblDBF.Open();
    if (tblDBF.BookmarkValid(bookmark))
        tblDBF.GotoBookmark(bookmark);
}

void TfrmMain::itmExitClick()
{
    close();
}

void TfrmMain::itmAboutClick()
{
    if (!frmAbout)
        frmAbout = new TfrmAbout();
    frmAbout->exec();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // Closing the table never posts: an unposted edit or insert is dropped.
    RunHandler([this] { tblDBF.Close(); });
    if (frmMain == this)
        frmMain = nullptr;
    event->accept();
}
