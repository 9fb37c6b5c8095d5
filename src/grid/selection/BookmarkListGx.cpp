#include "grid/selection/BookmarkListGx.h"
#include "platform/ScopeGuard.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/selection/DBGridGxSelectionModel.h"
#include "grid/GridDataLinkGx.h"
#include "platform/Exceptions.h"

#include <algorithm>

namespace {
// Invalidates the grid row of the current record.
void InvalidateCurrentRow(TCustomDBGridGx& grid)
{
    grid.InvalidateRow(grid.DataLink()->ActiveRecord() + grid.TitleRows());
}
}  // namespace

TBookmarkListGx::TBookmarkListGx(TDBGridGxSelectionModel& model)
    : FModel(model), FLinkActive(model.Grid().DataLink()->Active())
{
}

TBookmarkListGx::~TBookmarkListGx()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
    FModel.Selection().DropIfEmpty();
}

TDataSet* TBookmarkListGx::DataSet() const { return FModel.Grid().DataLink()->DataSet(); }

int TBookmarkListGx::Compare(const std::string& a, const std::string& b) const
{
    if (TDataSet* dataSet = DataSet())
        return dataSet->CompareBookmarks(a, b);
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool TBookmarkListGx::Find(const std::string& bookmark, int& index)
{
    if (FCacheIndex >= 0 && bookmark == FCacheBookmark) {
        ++FCacheHits;
        index = FCacheIndex;
        return FCacheFound;
    }
    int low = 0;
    int high = Count() - 1;
    bool found = false;
    while (low <= high) {
        int mid = (low + high) / 2;
        int c = Compare(FItems[static_cast<size_t>(mid)], bookmark);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                low = mid;
            }
        }
    }
    FCacheBookmark = bookmark;
    FCacheIndex = low;
    FCacheFound = found;
    index = low;
    return found;
}

bool TBookmarkListGx::Contains(const std::string& bookmark)
{
    int index = 0;
    return Find(bookmark, index);
}

std::string TBookmarkListGx::CurrentBookmark() const
{
    TDataSet* dataSet = DataSet();
    if (!FLinkActive || !dataSet)
        throw EInvalidGridOperation("Cannot perform this operation on a closed dataset");
    return dataSet->Bookmark();
}

bool TBookmarkListGx::CurrentRowSelected()
{
    std::string current = CurrentBookmark();
    return !current.empty() && Contains(current);
}

void TBookmarkListGx::SetCurrentRowSelected(bool value)
{
    std::string current = CurrentBookmark();
    if (current.empty())
        return;
    int index = 0;
    if (Find(current, index) == value)
        return;
    if (value)
        FItems.insert(FItems.begin() + index, current);
    else
        FItems.erase(FItems.begin() + index);
    Changed();
    InvalidateCurrentRow(FModel.Grid());
    TDBGridGxSelection& selection = FModel.Selection();
    if (selection.SelectionType() != gstRecordBookmarks && !FItems.empty()) {
        selection.Clear();
        selection.SetSelectionType(gstRecordBookmarks);
    }
    selection.DropIfEmpty();
}

void TBookmarkListGx::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
    FModel.Selection().DropIfEmpty();
    FModel.Grid().InvalidateGrid();
}

void TBookmarkListGx::LinkChanged(bool active)
{
    Clear();
    FModel.Selection().DropIfEmpty();
    FLinkActive = active;
}

void TBookmarkListGx::Delete()
{
    TDataSet* dataSet = DataSet();
    if (!dataSet || FItems.empty())
        return;
    {
        dataSet->DisableControls();
        TScopeExit enableControls([dataSet] { dataSet->EnableControls(); });
        for (int i = Count() - 1; i >= 0; --i) {
            std::string bookmark = FItems[static_cast<size_t>(i)];
            // A record gone, or hidden by a filter since it was selected,
            // is not deleted: going to its bookmark would land on another.
            if (dataSet->BookmarkValid(bookmark)) {
                dataSet->GotoBookmark(bookmark);
                if (dataSet->CompareBookmarks(dataSet->Bookmark(), bookmark) == 0)
                    dataSet->Delete();
            }
            RemoveAt(i);
        }
    }
    FModel.Selection().DropIfEmpty();
}

bool TBookmarkListGx::Refresh()
{
    TDataSet* dataSet = DataSet();
    if (!FLinkActive || !dataSet || FItems.empty())
        return false;
    auto gone = std::remove_if(FItems.begin(), FItems.end(),
                               [dataSet](const std::string& bookmark) { return !dataSet->BookmarkValid(bookmark); });
    if (gone == FItems.end())
        return false;
    FItems.erase(gone, FItems.end());
    Changed();
    FModel.Selection().DropIfEmpty();
    FModel.Grid().InvalidateGrid();
    return true;
}

void TBookmarkListGx::RemoveAt(int index)
{
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TBookmarkListGx::Changed()
{
    FCacheIndex = -1;
    FCacheFound = false;
    FCacheBookmark.clear();
}
