#pragma once
// TDBGridGxTitleTree: the multi-level titles (UseMultiTitle): the tree of
// title cells built from the columns' captions, which gives the title row
// its height.  The layout pass hands it the title height it worked out.

class TCustomDBGridGx;

class TDBGridGxTitleTree {
public:
    explicit TDBGridGxTitleTree(TCustomDBGridGx& grid) : FGrid(grid) {}
    virtual ~TDBGridGxTitleTree() = default;
    TDBGridGxTitleTree(const TDBGridGxTitleTree&) = delete;
    TDBGridGxTitleTree& operator=(const TDBGridGxTitleTree&) = delete;

    // ---- hooks
    // The layout pass laid out the columns under multi-level titles; the
    // tree may change the title row's height (pixels) to its own.
    virtual void ColumnsLaidOut(int& titleRowHeight);

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    TCustomDBGridGx& FGrid;
};
