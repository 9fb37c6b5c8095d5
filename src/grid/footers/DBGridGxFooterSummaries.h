#pragma once
// TDBGridGxFooterSummaries: the sum, average and count footers.  Each
// footer of those kinds owns one item of the grid's summary list, created
// when its type becomes a summary, re-pointed when its type or field
// changes, freed when it goes; the list follows the grid's dataset and
// repaints the footers whenever its values change.  The list is created
// inactive: a program switches it on with SumList().SetActive(true).

#include "grid/footers/DBSumList.h"

#include <cstdint>
#include <functional>
#include <map>

class TColumnFooterGx;
class TCustomDBGridGx;

// The grid's summary list.
using TDBGridGxSumList = TDBSumListProducer;

class TDBGridGxFooterSummaries {
public:
    explicit TDBGridGxFooterSummaries(TCustomDBGridGx& grid);
    virtual ~TDBGridGxFooterSummaries();
    TDBGridGxFooterSummaries(const TDBGridGxFooterSummaries&) = delete;
    TDBGridGxFooterSummaries& operator=(const TDBGridGxFooterSummaries&) = delete;

    TDBGridGxSumList& SumList() { return FSumList; }
    // Fired at the start of every full recalculation of the summary list.
    std::function<void(TCustomDBGridGx& sender)> OnSumListRecalcAll;

    // ---- hooks
    virtual void FooterChanged(TColumnFooterGx& footer);
    virtual void FooterDestroying(TColumnFooterGx& footer);
    // The dataset's content or position changed, or the grid's link to it.
    virtual void DataChanged();
    // The summary of a sum, average or count footer, as value x 10000;
    // false while the footer has none.
    virtual bool Value(const TColumnFooterGx& footer, int64_t& scaledValue) const;
    // False when the footer's summary could not be computed (a field that
    // does not hold numbers, a total out of range): it shows no number.
    virtual bool Computable(const TColumnFooterGx& footer) const;

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    const TDBSum* ItemOf(const TColumnFooterGx& footer) const;

    TCustomDBGridGx& FGrid;
    TDBGridGxSumList FSumList;
    std::map<const TColumnFooterGx*, TDBSum*> FItems;
};
