#pragma once
// Helpers of the grid mouse tests: where cells, title borders and the
// column-select zone are, and clicks and drags with QTest on the grid's
// client area.

#include "grid/RowWindowTestSupport.h"
#include "grid/input/DBGridGxAutoScroll.h"
#include "grid/input/DBGridGxMouse.h"
#include "grid/input/DBGridGxToolTips.h"
#include "ui/DialogService.h"

#include <QTest>

inline QWidget* Client(TCustomDBGridGx& grid) { return grid.viewport(); }

// The points below are on the client area as the mouse reaches it: under
// right-to-left reading they lie on the mirrored cells.
inline QPoint CellCentre(TCustomDBGridGx& grid, int col, int row)
{
    return grid.ViewportPoint(grid.CellRect(col, row).center());
}

// A point above the column-select zone of a title (the upper part of the cell).
inline QPoint TitlePoint(TCustomDBGridGx& grid, int col)
{
    const QRect r = grid.CellRect(col, 0);
    return grid.ViewportPoint(QPoint(r.center().x(), r.top() + 2));
}

// The border line after a title cell (its right, or its left when
// mirrored), where sizing starts.
inline QPoint TitleBorder(TCustomDBGridGx& grid, int col)
{
    const QRect r = grid.CellRect(col, 0);
    return grid.ViewportPoint(QPoint(r.right() + 1, r.top() + 2));
}

inline void Click(TCustomDBGridGx& grid, QPoint at, Qt::KeyboardModifiers mods = {},
                  Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(Client(grid), button, mods, at);
}

inline void DragTo(TCustomDBGridGx& grid, QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}, int steps = 4)
{
    QTest::mousePress(Client(grid), Qt::LeftButton, mods, from);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(Client(grid), from + (to - from) * i / steps);
    QTest::mouseRelease(Client(grid), Qt::LeftButton, mods, to);
}
