#include "app/CodePagePanel.h"

#include "data/engine/CodePageNames.h"
#include "ui/ExceptionReport.h"

#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString Label(int codePage)
{
    return QString::fromStdString(CodePageLabel(codePage));
}

QString CertaintyText(TDetectCertainty certainty)
{
    switch (certainty) {
    case TDetectCertainty::None: return Text("无需判断");
    case TDetectCertainty::Low: return Text("低");
    case TDetectCertainty::Medium: return Text("中");
    case TDetectCertainty::High: break;
    }
    return Text("高");
}

QString OriginText(const TCodePageChoice& choice)
{
    switch (choice.Origin) {
    case TCodePageOrigin::Marked:
        return Text("表头标明的代码页。");
    case TCodePageOrigin::Detected:
        if (choice.Certainty == TDetectCertainty::None)
            return Text("表头未标明代码页；表中只有 ASCII 文字，任何代码页读出都一样，新输入的文字按此代码页保存。");
        return Text("表头未标明代码页，按表中文字检测得出（把握：%1）。").arg(CertaintyText(choice.Certainty));
    case TCodePageOrigin::Chosen:
        break;
    }
    QString marked = choice.Marked ? Label(choice.Marked) : Text("无");
    return Text("本次打开时选用（表头标明：%1）。").arg(marked);
}

} // namespace

QString CodePageRegion(int codePage)
{
    switch (codePage) {
    case 936: return Text("简体中文");
    case 950: return Text("繁体中文");
    case 65001: return Text("Unicode");
    case 1252: case 850: case 10000: return Text("西欧");
    case 437: return Text("美国");
    case 865: return Text("北欧");
    case 1250: case 852: return Text("中欧");
    case 1251: case 866: return Text("西里尔文");
    case 1253: case 737: return Text("希腊文");
    case 1254: case 857: return Text("土耳其文");
    case 1257: return Text("波罗的海文");
    case 1255: case 862: return Text("希伯来文");
    case 1256: return Text("阿拉伯文");
    case 874: return Text("泰文");
    case 932: return Text("日文");
    case 949: return Text("韩文");
    default: return QString();
    }
}

TCodePagePanel::TCodePagePanel(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("CodePagePanel"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this] { PopupMenu(); });
}

void TCodePagePanel::ShowChoice(const TCodePageChoice& choice, int requested)
{
    FRequested = requested;
    setText(Label(choice.CodePage));
    QString tip = Text("代码页：%1 %2\n").arg(CodePageRegion(choice.CodePage), Label(choice.CodePage)) +
                  OriginText(choice);
    if (choice.Origin == TCodePageOrigin::Detected && choice.Certainty != TDetectCertainty::None)
        tip += "\n" + QString::fromStdString(choice.Basis);
    tip += Text("\n单击可选用其他代码页重新读取本表（只影响本次打开，不改写表头）。");
    setToolTip(tip);
}

QMenu* TCodePagePanel::Menu()
{
    if (FMenu)
        return FMenu;
    FMenu = new QMenu(this);
    FMenu->setObjectName(QStringLiteral("CodePageMenu"));
    auto* group = new QActionGroup(FMenu);
    auto add = [&](const QString& caption, int codePage) {
        QAction* action = FMenu->addAction(caption);
        action->setCheckable(true);
        action->setData(codePage);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, codePage] { Choose(codePage); });
    };
    add(Text("自动（按表头标明的或表中文字检测的代码页）"), 0);
    FMenu->addSeparator();
    for (int codePage : SelectableCodePages())
        add(CodePageRegion(codePage) + "  " + Label(codePage), codePage);
    connect(FMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction* action : FMenu->actions())
            if (action->isCheckable())
                action->setChecked(action->data().toInt() == FRequested);
    });
    return FMenu;
}

void TCodePagePanel::PopupMenu()
{
    Menu()->popup(mapToGlobal(QPoint(0, 0)) - QPoint(0, Menu()->sizeHint().height()));
}

void TCodePagePanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        PopupMenu();
        return;
    }
    QLabel::mousePressEvent(event);
}

void TCodePagePanel::Choose(int codePage)
{
    if (OnChoose)
        RunHandler([&] { OnChoose(codePage); });
}
