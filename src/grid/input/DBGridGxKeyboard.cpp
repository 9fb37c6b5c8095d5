#include "grid/input/DBGridGxKeyboard.h"

#include "grid/DBGridGx.h"

bool TDBGridGxKeyboard::KeyDown(int& /*key*/, TShiftState /*shift*/)
{
    return false;
}

bool TDBGridGxKeyboard::KeyPress(QString& /*key*/)
{
    return false;
}

void TDBGridGxKeyboard::SetIncSearchState(bool active, const std::string& text)
{
    if (active == FIncSearchActive && text == FIncSearchText)
        return;
    FIncSearchActive = active;
    FIncSearchText = active ? text : std::string();
    if (FGrid.Row() >= 0 && FGrid.Row() < FGrid.RowCount())
        FGrid.InvalidateRow(FGrid.Row());
}
