#include "grid/layout/DBGridGxScrollBar.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/layout/DBGridGxRowWindow.h"

#include "grid/DBGridGx.h"

void TDBGridGxScrollBar::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FKind == sbVertical)
        RowWindowOf(FGrid).UpdateVertScrollBar();
    FGrid.RequestLayout();
}

bool TDBGridGxScrollBar::IsScrollBarShowing() const
{
    return FVisible && FGrid.IsScrollBarShown(FKind);
}

void TDBGridGxScrollBar::Assign(const TDBGridGxScrollBar& source)
{
    SetVisible(source.Visible());
    SetTracking(source.Tracking());
}
