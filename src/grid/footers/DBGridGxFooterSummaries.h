#pragma once
// TDBGridGxFooterSummaries: the sum, average and count footers.  The
// column model reports each footer's change of summary type or field and
// its going; the grid asks for a footer's value when it paints it, and
// reports changes of the data shown.

#include <cstdint>

class TColumnFooterGx;
class TCustomDBGridGx;

class TDBGridGxFooterSummaries {
public:
    explicit TDBGridGxFooterSummaries(TCustomDBGridGx& grid) : FGrid(grid) {}
    virtual ~TDBGridGxFooterSummaries() = default;
    TDBGridGxFooterSummaries(const TDBGridGxFooterSummaries&) = delete;
    TDBGridGxFooterSummaries& operator=(const TDBGridGxFooterSummaries&) = delete;

    // ---- hooks
    virtual void FooterChanged(TColumnFooterGx& footer);
    virtual void FooterDestroying(TColumnFooterGx& footer);
    // The dataset's content or position changed.
    virtual void DataChanged();
    // The summary of a sum, average or count footer, as value x 10000;
    // false while the footer has none.
    virtual bool Value(const TColumnFooterGx& footer, int64_t& scaledValue) const;

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    TCustomDBGridGx& FGrid;
};
