#pragma once
// TDBGridGxToolTips: tool tips over the data grid.  Over a data cell of a
// column with ToolTips, or a title with Title.ToolTips, whose text does not
// fit, the whole text shows at once in a tip laid over the cell; a title
// with a Hint shows the hint after the usual pause.  No tip shows while Ctrl
// or a mouse button is held.

#include "grid/base/GridTypes.h"

#include <QObject>
#include <QRect>
#include <QString>

class TCustomDBGridGx;

// The tip a point of the grid asks for.
struct TGridToolTipGx {
    QString Text;   // empty: none
    QRect Area;     // the cell, in client coordinates
    bool AtOnce = false;
};

class TDBGridGxToolTips : public QObject {
public:
    explicit TDBGridGxToolTips(TCustomDBGridGx& grid);

    TGridToolTipGx TipAt(int x, int y) const;
    // Shows a tip that shows at once, or hides the one showing.
    void MouseMoved(TShiftState shift, int x, int y);
    void Hide();
    // The text of the tip the grid shows now (empty: none).
    const QString& ShownText() const { return FShownText; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // `y`: the pointer's height, which under multi-level titles must be on
    // the column's own caption, below its groups' captions.
    TGridToolTipGx TitleTip(int rawCol, const QRect& cell, int y) const;
    TGridToolTipGx DataTip(int rawCol, int row, const QRect& cell) const;
    void Show(const TGridToolTipGx& tip, const QPoint& at);

    TCustomDBGridGx& FGrid;
    QString FShownText;
};
