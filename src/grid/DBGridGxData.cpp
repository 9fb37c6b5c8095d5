// The grid's data side: its data source, the link's notifications, the row
// window that maps grid rows to buffered records, and the reactions to
// record moves and edits.

#include "grid/DBGridGx.h"

#include "data/DataSource.h"
#include "grid/GridDataLinkGx.h"

// ---- data -----------------------------------------------------------------

TDataSource* TCustomDBGridGx::DataSource() const { return FDataLink->DataSource(); }

void TCustomDBGridGx::SetDataSource(TDataSource* value)
{
    if (value == FDataLink->DataSource())
        return;
    FSelectionModel->ClearSelection();
    FDataLink->SetDataSource(value);
    LinkActiveChanged(FDataLink->Active());
}

void TCustomDBGridGx::LinkActiveChanged(bool active)
{
    if (FSelectionModel)
        FSelectionModel->LinkChanged(active);
    RequestLayout();
}

void TCustomDBGridGx::DataLayoutChanged()
{
    struct TFlagGuard {
        bool& Flag;
        bool Old;
        ~TFlagGuard() { Flag = Old; }
    } guard{FDataLayoutChanging, FDataLayoutChanging};
    FDataLayoutChanging = true;
    RequestLayout();
}

void TCustomDBGridGx::ColumnFieldFreed(TColumnGx& /*column*/)
{
    // The dataset may be tearing its fields down right now: the columns are
    // matched to its fields again once control returns to the event loop.
    if (!FDestroying)
        PostDeferredLayout();
}

void TCustomDBGridGx::ColumnDestroying(TColumnGx& column)
{
    if (FDestroying)
        return;
    FSelectionModel->ColumnDestroying(column);
    TColumnTitleGx& title = *column.Title();
    if (title.FSortIndex > 0)
        for (const auto& other : *FColumns)
            if (other.get() != &column && other->Title()->FSortIndex > title.FSortIndex)
                --other->Title()->FSortIndex;
    FSortMarkedColumns.Remove(&column);
}

void TCustomDBGridGx::FooterSummaryChanged(TColumnFooterGx& /*footer*/) {}

void TCustomDBGridGx::FooterDestroying(TColumnFooterGx& /*footer*/) {}

void TCustomDBGridGx::WatchImageList(TImageList* list)
{
    if (!list)
        return;
    connect(list, &TImageList::Changed, this, &TCustomDBGridGx::ImageListChanged, Qt::UniqueConnection);
    connect(list, &QObject::destroyed, this, &TCustomDBGridGx::ImageListChanged, Qt::UniqueConnection);
}

void TCustomDBGridGx::ImageListChanged() { InvalidateGrid(); }

