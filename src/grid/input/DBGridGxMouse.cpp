#include "grid/input/DBGridGxMouse.h"

#include "grid/DBGridGx.h"

bool TDBGridGxMouse::MouseDown(Qt::MouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/)
{
    return false;
}

bool TDBGridGxMouse::MouseMove(TShiftState /*shift*/, int /*x*/, int /*y*/)
{
    return false;
}

bool TDBGridGxMouse::MouseUp(Qt::MouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/)
{
    return false;
}

void TDBGridGxMouse::SetPressedTitleCol(int dataCol)
{
    if (dataCol == FPressedTitleCol)
        return;
    const int titleRow = FGrid.TitleRows() - 1;
    for (int old : {FPressedTitleCol, dataCol}) {
        const int raw = FGrid.DataToRawColumn(old);
        if (old >= 0 && raw < FGrid.ColCount() && titleRow >= 0)
            FGrid.InvalidateCell(raw, titleRow);
    }
    FPressedTitleCol = dataCol;
}
