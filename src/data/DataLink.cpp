#include "data/DataLink.h"
#include "platform/ScopeGuard.h"

#include "data/DataSource.h"

#include <algorithm>

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    if (TDataSource* source = FDataSource.Get()) {
        FDataSource.Reset();
        source->RemoveLink(this);
    }
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == FDataSource.Get())
        return;
    if (TDataSource* old = FDataSource.Get()) {
        FDataSource.Reset();
        old->RemoveLink(this);
    }
    if (source) {
        FDataSource.Reset(source, [this] { UpdateState(); });
        source->AddLink(this);
    }
    UpdateState();
}

void TDataLink::SourceGone()
{
    FDataSource.Reset();
    UpdateState();
}

TDataSet* TDataLink::DataSet() const
{
    return FDataSource ? FDataSource->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool value)
{
    if (value == FReadOnly)
        return;
    FReadOnly = value;
    UpdateState();
}

bool TDataLink::Edit()
{
    if (!FReadOnly && FDataSource)
        FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateState()
{
    TDataSource* source = FDataSource.Get();
    bool active = source && source->Enabled() && source->DataSet() && source->DataSet()->Active();
    if (active != FActive) {
        FActive = active;
        if (active)
            UpdateWindow(0);
        else
            FFirstRecord = 0;
        ActiveChanged();
    }
    TDataSetState state = source ? source->State() : dsInactive;
    bool editing = FActive && !FReadOnly && (state == dsEdit || state == dsInsert);
    if (editing != FEditing) {
        FEditing = editing;
        EditingChanged();
    }
}

int TDataLink::UpdateWindow(int shift)
{
    TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active()) {
        FFirstRecord = 0;
        return 0;
    }
    int active = dataSet->FActiveRecord;
    int count = dataSet->FRecordCount;
    int old = FFirstRecord - shift;
    int lowest = std::max(0, active - FBufferCount + 1);
    int highest = std::min(active, std::max(0, count - FBufferCount));
    FFirstRecord = std::clamp(old, lowest, std::max(lowest, highest));
    return FFirstRecord - old;
}

int TDataLink::ActiveRecord() const
{
    TDataSet* dataSet = DataSet();
    if (!FActive || !dataSet || dataSet->State() == dsSetKey)
        return 0;
    int current = dataSet->FDisplayRecord >= 0 ? dataSet->FDisplayRecord : dataSet->FActiveRecord;
    return current - FFirstRecord;
}

void TDataLink::SetActiveRecord(int value)
{
    TDataSet* dataSet = DataSet();
    if (!FActive || !dataSet || dataSet->State() == dsSetKey)
        return;
    if (value < 0 || value >= RecordCount())
        return;   // a row without a record: nothing to read
    dataSet->SetDisplayRecord(FFirstRecord + value);
}

void TDataLink::SetBufferCount(int value)
{
    value = std::max(1, value);
    if (value == FBufferCount)
        return;
    FBufferCount = value;
    // Asked of an open dataset even while this link is inactive (a disabled
    // source), so the buffers are ready when it becomes active.
    TDataSet* dataSet = DataSet();
    if (dataSet && dataSet->Active())
        dataSet->UpdateBufferCount(this);
}

int TDataLink::RecordCount() const
{
    TDataSet* dataSet = DataSet();
    if (!FActive || !dataSet)
        return 0;
    if (dataSet->State() == dsSetKey)
        return 1;
    return std::max(0, std::min(FBufferCount, dataSet->FRecordCount - FFirstRecord));
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int distance, TField** focusField)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!FActive)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!FUpdating)
            RecordChanged(field);
        break;
    case deDataSetChange:
        UpdateWindow(0);
        DataSetChanged();
        break;
    case deDataSetScroll:
        DataSetScrolled(UpdateWindow(distance));
        break;
    case deLayoutChange:
        UpdateWindow(0);
        LayoutChanged();
        break;
    case deUpdateRecord: {
        FUpdating = true;
        TScopeExit done([this] { FUpdating = false; });
        UpdateData();
        break;
    }
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl:
        if (focusField && *focusField)
            FocusControl(focusField);
        break;
    case deUpdateState:
        break;
    }
}
