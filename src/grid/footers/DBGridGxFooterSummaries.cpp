#include "grid/footers/DBGridGxFooterSummaries.h"

#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/columns/ColumnFooterGx.h"
#include "grid/layout/DBGridGxRowWindow.h"

namespace {

TGroupOperation GroupOperationOf(TFooterSummaryOperationGx operation)
{
    switch (operation) {
    case fsoAvg: return goAvg;
    case fsoCount: return goCount;
    default: return goSum;
    }
}

} // namespace

TDBGridGxFooterSummaries::TDBGridGxFooterSummaries(TCustomDBGridGx& grid) : FGrid(grid)
{
    FSumList.SumListChanged = [this] {
        if (!FGrid.HandleAllocated())
            return;
        FGrid.InvalidateGrid();
        // The record list may number the records for the scroll bar; it
        // changes after the dataset has told the grid of the change.
        if (FSumList.ServesRecordNumbers())
            RowWindowOf(FGrid).UpdateVertScrollBar();
    };
    FSumList.OnRecalcAll = [this] {
        if (OnSumListRecalcAll)
            OnSumListRecalcAll(FGrid);
    };
}

TDBGridGxFooterSummaries::~TDBGridGxFooterSummaries()
{
    FSumList.SumListChanged = {};
    FSumList.OnRecalcAll = {};
}

void TDBGridGxFooterSummaries::FooterChanged(TColumnFooterGx& footer)
{
    TFooterSummaryOperationGx operation = footer.SummaryOperation();
    auto it = FItems.find(&footer);
    if (operation == fsoNone) {
        if (it != FItems.end()) {
            FSumList.SumCollection().Remove(*it->second);
            FItems.erase(it);
        }
        return;
    }
    TDBSum* item = it != FItems.end() ? it->second : &FSumList.SumCollection().Add();
    FItems[&footer] = item;
    item->SetGroupOperation(GroupOperationOf(operation));
    item->SetFieldName(footer.SummaryFieldName());
}

void TDBGridGxFooterSummaries::FooterDestroying(TColumnFooterGx& footer)
{
    auto it = FItems.find(&footer);
    if (it == FItems.end())
        return;
    FSumList.SumCollection().Remove(*it->second);
    FItems.erase(it);
}

void TDBGridGxFooterSummaries::DataChanged()
{
    TGridDataLinkGx* link = FGrid.DataLink();
    FSumList.SetDataSet(link && link->Active() ? link->DataSet() : nullptr);
}

const TDBSum* TDBGridGxFooterSummaries::ItemOf(const TColumnFooterGx& footer) const
{
    // The item of that operation over the field the footer sums, as the
    // list finds it (another footer's item over the same field serves too).
    TFooterSummaryOperationGx operation = footer.SummaryOperation();
    if (operation == fsoNone)
        return nullptr;
    return const_cast<TDBGridGxSumList&>(FSumList).FindSumByOpAndFName(GroupOperationOf(operation),
                                                                       footer.SummaryFieldName());
}

bool TDBGridGxFooterSummaries::Value(const TColumnFooterGx& footer, int64_t& scaledValue) const
{
    const TDBSum* item = ItemOf(footer);
    if (!item || !item->Valid())
        return false;
    scaledValue = item->SumValue();
    return true;
}

bool TDBGridGxFooterSummaries::Computable(const TColumnFooterGx& footer) const
{
    const TDBSum* item = ItemOf(footer);
    return !item || item->Valid();
}
