#include "app/AboutForm.h"

#include "app/FormStyle.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TfrmAbout* frmAbout = nullptr;

namespace {
constexpr int FormWidth = 341, FormHeight = 116;
constexpr QRect Image1Bounds(24, 8, 185, 73);
constexpr QRect btnExitBounds(248, 40, 75, 25);
} // namespace

TfrmAbout::TfrmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("关于"));
    ApplyFormStyle(*this);
    resize(ClientSizeOfFrame(FormWidth, FormHeight));

    FImage1 = new QLabel(this);
    FImage1->setObjectName(QStringLiteral("Image1"));
    FImage1->setGeometry(Image1Bounds);

    FbtnExit = new QPushButton(QString::fromUtf8("关闭(&X)"), this);
    FbtnExit->setObjectName(QStringLiteral("btnExit"));
    FbtnExit->setGeometry(btnExitBounds);
    FbtnExit->setFocus();
    connect(FbtnExit, &QPushButton::clicked, this, [this] { btnExitClick(); });

    CenterOnScreen();
}

TfrmAbout::~TfrmAbout()
{
    if (frmAbout == this)
        frmAbout = nullptr;
}

void TfrmAbout::btnExitClick()
{
    close();
}

void TfrmAbout::closeEvent(QCloseEvent* event)
{
    // The box frees itself (WA_DeleteOnClose); the next opening makes a new one.
    if (frmAbout == this)
        frmAbout = nullptr;
    event->accept();
}

void TfrmAbout::CenterOnScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - FormWidth) / 2, area.top() + (area.height() - FormHeight) / 2);
}
