#include "grid/GridDataLinkGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "platform/ScopeGuard.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/input/DBGridGxMouse.h"
#include "grid/input/DBGridGxToolTips.h"
#include "platform/Exceptions.h"

#include <algorithm>

namespace {
// A tip shows a cell's text as it was: any change of the rows or of the
// data takes it away.
void HideToolTips(TCustomDBGridGx& grid)
{
    if (const auto& mouse = TDBGridGxPrivate::Of(grid).FMouse)
        mouse->ToolTips().Hide();
}
}  // namespace

TGridDataLinkGx::~TGridDataLinkGx() { ClearFieldMap(); }

// ---- the field map ----------------------------------------------------------

void TGridDataLinkGx::BuildFieldMap()
{
    ClearFieldMap();
    TDataSet* dataSet = DataSet();
    if (FGrid->Columns().State() == csCustomized) {
        FMapByColumns = true;
        for (const auto& column : FGrid->Columns())
            AddFieldMapping(column->FieldName());
        return;
    }
    FMapByColumns = false;
    if (!dataSet)
        return;
    for (TField* field : dataSet->Fields())
        if (field->Visible())
            AddFieldMapping(field->FieldName());
}

void TGridDataLinkGx::AddFieldMapping(const std::string& fieldName)
{
    if (FieldMapCount() >= FMapLimit)
        throw EInvalidGridOperation("Grid requested to display more than 256 columns");
    TDataSet* dataSet = DataSet();
    TField* field = nullptr;
    if (dataSet)
        field = FMapByColumns ? dataSet->FindField(fieldName) : dataSet->FieldByName(fieldName);
    if (FieldMapCount() == FCapacity) {
        int grown = FCapacity == 0 ? 8 : FCapacity > FMapLimit / 2 ? FMapLimit : FCapacity * 2;
        FFieldMap.reserve(static_cast<size_t>(grown));
        FCapacity = grown;
    }
    FFieldMap.push_back(field ? dataSet->Fields().IndexOf(field) : -1);
}

void TGridDataLinkGx::ClearFieldMap()
{
    std::vector<int32_t>().swap(FFieldMap);
    FCapacity = 0;
}

TField* TGridDataLinkGx::MappedField(int i) const
{
    if (i < 0 || i >= FieldMapCount())
        return nullptr;
    int index = FFieldMap[static_cast<size_t>(i)];
    TDataSet* dataSet = DataSet();
    if (index < 0 || !dataSet || index >= dataSet->FieldCount())
        return nullptr;
    return dataSet->Fields()[index];
}

bool TGridDataLinkGx::UsesDefaultFields() const
{
    TDataSet* dataSet = DataSet();
    if (dataSet && !dataSet->DefaultFields())
        return false;
    if (FMapByColumns)
        return std::find(FFieldMap.begin(), FFieldMap.end(), -1) == FFieldMap.end();
    return true;
}

void TGridDataLinkGx::ResetEdit()
{
    if (FModified) {
        RecordChanged(nullptr);
    } else if (TDataSet* dataSet = DataSet()) {
        dataSet->Cancel();
    }
}

// ---- notifications ----------------------------------------------------------

void TGridDataLinkGx::ActiveChanged()
{
    HideToolTips(*FGrid);
    FGrid->LinkActiveChanged(Active());
    FModified = false;
}

void TGridDataLinkGx::DataSetChanged()
{
    HideToolTips(*FGrid);
    RowWindowOf(*FGrid).RefreshFromData();
    FModified = false;
    TDBGridGxPrivate::Of(*FGrid).FKeyboard->IncSearch().RecordMoved();
}

void TGridDataLinkGx::DataSetScrolled(int distance)
{
    HideToolTips(*FGrid);
    RowWindowOf(*FGrid).ScrollRows(distance);
    TDBGridGxPrivate::Of(*FGrid).FKeyboard->IncSearch().RecordMoved();
}

void TGridDataLinkGx::RecordChanged(TField* field)
{
    HideToolTips(*FGrid);
    FGrid->CurrentRecordChanged(field);
    FModified = false;
}

void TGridDataLinkGx::EditingChanged() { RowWindowOf(*FGrid).InvalidateIndicator(); }

void TGridDataLinkGx::LayoutChanged() { FGrid->DataLayoutChanged(); }

void TGridDataLinkGx::FocusControl(TField** field)
{
    if (field && *field && FGrid->FocusField(*field))
        *field = nullptr;
}

void TGridDataLinkGx::UpdateData()
{
    FInUpdateData = true;
    TScopeExit leave([this] { FInUpdateData = false; });
    if (FModified)
        FGrid->WriteEditorToField();
    FModified = false;
}
