#include "grid/GridDataLinkGx.h"

#include "grid/DBGridGx.h"

std::vector<TField*> TGridDataLinkGx::VisibleFields() const
{
    std::vector<TField*> fields;
    TDataSet* dataSet = DataSet();
    if (!Active() || !dataSet)
        return fields;
    for (TField* field : dataSet->Fields())
        if (field->Visible())
            fields.push_back(field);
    return fields;
}

void TGridDataLinkGx::ActiveChanged() { FGrid->LinkActiveChanged(Active()); }

void TGridDataLinkGx::DataSetChanged() { FGrid->InvalidateGrid(); }

void TGridDataLinkGx::RecordChanged(TField* /*field*/) { FGrid->InvalidateGrid(); }

void TGridDataLinkGx::LayoutChanged() { FGrid->DataLayoutChanged(); }
