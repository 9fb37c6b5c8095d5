#include "grid/selection/DBGridGxSelectionRect.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/selection/DBGridGxSelectionModel.h"
#include "grid/GridDataLinkGx.h"
#include "platform/Exceptions.h"

#include <algorithm>

namespace {
std::string RowBookmark(TDataLink& link, int row)
{
    link.SetActiveRecord(row);
    return link.DataSet()->Bookmark();
}
}  // namespace

std::vector<QRect> ChangedStrips(const QRect& before, const QRect& after)
{
    std::vector<QRect> strips;
    if (before == after)
        return strips;
    if (!before.intersects(after)) {
        for (const QRect& r : {before, after})
            if (!r.isEmpty())
                strips.push_back(r);
        return strips;
    }
    QRect all = before.united(after);
    QRect both = before.intersected(after);
    QRect top(all.left(), all.top(), all.width(), both.top() - all.top());
    QRect bottom(all.left(), both.bottom() + 1, all.width(), all.bottom() - both.bottom());
    QRect left(all.left(), both.top(), both.left() - all.left(), both.height());
    QRect right(both.right() + 1, both.top(), all.right() - both.right(), both.height());
    for (const QRect& r : {top, bottom, left, right})
        if (!r.isEmpty())
            strips.push_back(r);
    return strips;
}

TDBGridGxSelectionRect::TDBGridGxSelectionRect(TDBGridGxSelectionModel& model) : FModel(model) {}

int TDBGridGxSelectionRect::Compare(const std::string& a, const std::string& b) const
{
    return FModel.SelectedRecords().Compare(a, b);
}

void TDBGridGxSelectionRect::Select(int columnIndex, const std::string& bookmark, bool keepAnchor)
{
    TDBGridGxSelection& selection = FModel.Selection();
    if (selection.SelectionType() != gstRectangle)
        selection.Clear();
    TDBCell oldAnchor = FAnchor;
    TDBCell oldShift = FShiftCell;
    if (FAnchor.Empty() || !keepAnchor)
        FAnchor = {columnIndex, bookmark};
    FShiftCell = {columnIndex, bookmark};
    bool oneCell = FAnchor.Col == FShiftCell.Col && Compare(FAnchor.Bookmark, FShiftCell.Bookmark) == 0;
    if (!oneCell)
        selection.SetSelectionType(gstRectangle);
    else if (selection.SelectionType() == gstRectangle)
        selection.SetSelectionType(gstNon);

    TCustomDBGridGx& grid = FModel.Grid();
    if (!grid.HandleAllocated())
        return;
    for (const QRect& strip : ChangedStrips(BlockRect(oldAnchor, oldShift), BlockRect(FAnchor, FShiftCell)))
        grid.InvalidateArea(strip);
}

void TDBGridGxSelectionRect::Clear()
{
    FAnchor = TDBCell();
    FShiftCell = TDBCell();
    FModel.Grid().InvalidateGrid();
}

void TDBGridGxSelectionRect::CheckBounds() const
{
    TGridDataLinkGx* link = FModel.Grid().DataLink();
    if (!link->DataSource() || !link->DataSet() || !link->Active())
        throw EInvalidGridOperation("Error in TDBGridGxSelectionRect.GetBottomRow");
}

std::string TDBGridGxSelectionRect::TopRow() const
{
    CheckBounds();
    return Compare(FAnchor.Bookmark, FShiftCell.Bookmark) <= 0 ? FAnchor.Bookmark : FShiftCell.Bookmark;
}

std::string TDBGridGxSelectionRect::BottomRow() const
{
    CheckBounds();
    return Compare(FAnchor.Bookmark, FShiftCell.Bookmark) >= 0 ? FAnchor.Bookmark : FShiftCell.Bookmark;
}

int TDBGridGxSelectionRect::LeftCol() const
{
    CheckBounds();
    return std::min(FAnchor.Col, FShiftCell.Col);
}

int TDBGridGxSelectionRect::RightCol() const
{
    CheckBounds();
    return std::max(FAnchor.Col, FShiftCell.Col);
}

bool TDBGridGxSelectionRect::DataCellSelected(int columnIndex, const std::string& bookmark) const
{
    TGridDataLinkGx* link = FModel.Grid().DataLink();
    if (!link->DataSource() || !link->DataSet() || !link->Active())
        throw EInvalidGridOperation("Error in function TDBGridGxSelectionRect.CellSelected");
    return Compare(TopRow(), bookmark) <= 0 && Compare(bookmark, BottomRow()) <= 0 && LeftCol() <= columnIndex &&
           columnIndex <= RightCol();
}

QRect TDBGridGxSelectionRect::BlockRect(const TDBCell& a, const TDBCell& b) const
{
    TCustomDBGridGx& grid = FModel.Grid();
    TGridDataLinkGx& link = *grid.DataLink();
    if (a.Empty() || b.Empty() || !link.Active() || !link.DataSet())
        return QRect();
    int count = link.RecordCount();
    if (count == 0)
        return QRect();
    bool ordered = Compare(a.Bookmark, b.Bookmark) <= 0;
    const std::string& topBookmark = ordered ? a.Bookmark : b.Bookmark;
    const std::string& bottomBookmark = ordered ? b.Bookmark : a.Bookmark;

    TLinkRecordScope guard(link, link.ActiveRecord());
    // The first row at or after the top record, and the last row at or
    // before the bottom record.
    int top = 0;
    while (top < count && Compare(RowBookmark(link, top), topBookmark) < 0)
        ++top;
    int bottom = count - 1;
    while (bottom >= 0 && Compare(RowBookmark(link, bottom), bottomBookmark) > 0)
        --bottom;
    if (top > bottom)
        return QRect();
    int left = grid.DataToRawColumn(std::min(a.Col, b.Col));
    int right = grid.DataToRawColumn(std::max(a.Col, b.Col));
    return grid.BoxRect(left, top + grid.TitleRows(), right, bottom + grid.TitleRows());
}
