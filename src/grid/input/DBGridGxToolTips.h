#pragma once
// TDBGridGxToolTips: tips over the data grid.
//
// Over a data cell of a column with ToolTips, or a title with
// Title.ToolTips, whose text does not fit, the whole text shows at once in
// the grid's tool tips window, laid so that its text lies exactly over the
// cell's own text, in the cell's font.  A title with a Hint shows the short
// part of the hint in the platform's hint window after the platform's
// pause, as any widget's hint does.  No tip shows while Ctrl or a mouse
// button is held; a tip hides when the pointer leaves its cell or the grid,
// on a press, a key, the wheel, when the window deactivates, and when the
// grid scrolls or its data changes.

#include "data/Field.h"
#include "grid/base/GridTypes.h"

#include <QFont>
#include <QObject>
#include <QRect>
#include <QString>

#include <memory>

class TCustomDBGridGx;
class TToolTipsWindow;

// The tip a point of the grid asks for.
struct TGridToolTipGx {
    QString Text;        // empty: none
    QRect Area;          // the cell's text area, in the grid's logical client coordinates
    int RightLimit = 0;  // where the cell's text area ends as painted (cell left + column width)
    bool AtOnce = false; // a tool tip, shown at once; else a title hint, after the platform's pause
    QFont Font;
    TAlignment Alignment = taLeftJustify;
    bool WordWrap = false;
    TGridCoord Cell;     // the cell in grid coordinates
};

class TDBGridGxToolTips : public QObject {
public:
    explicit TDBGridGxToolTips(TCustomDBGridGx& grid);
    ~TDBGridGxToolTips() override;

    TGridToolTipGx TipAt(int x, int y) const;
    // Shows a tip that shows at once, or hides the one showing.
    void MouseMoved(TShiftState shift, int x, int y);
    void Hide();
    // The text of the tip the grid shows now (empty: none).
    const QString& ShownText() const { return FShownText; }
    // The grid's own tip window (created on first use).
    TToolTipsWindow& Window();

    // The window's top-left corner for a tool tip, in viewport coordinates,
    // and its size: the text lies where the cell paints it.
    QRect WindowPlace(const TGridToolTipGx& tip);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // `y`: the pointer's height, which under multi-level titles must be on
    // the column's own caption, below its groups' captions.
    TGridToolTipGx TitleTip(int rawCol, const QRect& cell, int y) const;
    TGridToolTipGx DataTip(int rawCol, int row, const QRect& cell) const;
    void ShowToolTip(const TGridToolTipGx& tip);
    void ShowTitleHint(const TGridToolTipGx& tip, const QPoint& globalPos);
    bool HelpEvent(const QPoint& viewportPos, const QPoint& globalPos);

    TCustomDBGridGx& FGrid;
    TToolTipsWindow* FWindow = nullptr;   // owned by the grid
    QString FShownText;
    QRect FShownArea;   // logical client coordinates
    bool FHintShown = false;
};
