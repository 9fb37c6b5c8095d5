#pragma once
// The status bar's code-page panel: the code page the open table's texts
// are read and written in ("GBK (936)"), how it was chosen in its tool tip,
// and a menu (right or left click) to read the table in another one.  The
// choice holds for this opening only; the table's header is never changed.

#include "data/engine/CodePageDetect.h"

#include <QLabel>

#include <functional>

class QMenu;

class TCodePagePanel : public QLabel {
    Q_OBJECT
public:
    explicit TCodePagePanel(QWidget* parent = nullptr);

    // Shows the choice of the open table; `requested` is the code page asked
    // for at its opening (0: the table's own).
    void ShowChoice(const TCodePageChoice& choice, int requested);
    // The menu of code pages, built when it is first asked for.
    QMenu* Menu();
    // Opens the menu at the panel (what a click does).
    void PopupMenu();

    // Called with the code page the user chose (0: the table's own again).
    std::function<void(int codePage)> OnChoose;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Choose(int codePage);

    QMenu* FMenu = nullptr;
    int FRequested = 0;
};

// The Chinese name of a code page's script or region ("简体中文", "西里尔文").
QString CodePageRegion(int codePage);
