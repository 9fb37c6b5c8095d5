#pragma once
// TGridDataLinkGx: the grid's link to its data source.  It tells the grid
// when the dataset opens or closes and when its field layout changes, and
// names the fields the grid's default columns show.
//
// This is the link's first cut, serving the column model: the field map,
// the row window and the reactions to record moves and edits build on it.

#include "data/DataLink.h"

#include <vector>

class TCustomDBGridGx;
class TField;

class TGridDataLinkGx : public TDataLink {
public:
    explicit TGridDataLinkGx(TCustomDBGridGx* grid) : FGrid(grid) {}

    TCustomDBGridGx* Grid() const { return FGrid; }
    // The dataset's visible fields in field order (none while inactive).
    std::vector<TField*> VisibleFields() const;

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void RecordChanged(TField* field) override;
    void LayoutChanged() override;

private:
    TCustomDBGridGx* FGrid;
};
