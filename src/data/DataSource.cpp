#include "data/DataSource.h"

#include "data/DataLink.h"

#include <algorithm>

TDataSource::TDataSource(TDataSet* dataSet)
{
    SetDataSet(dataSet);
}

TDataSource::~TDataSource()
{
    if (TDataSet* dataSet = FDataSet.Get()) {
        FDataSet.Reset();
        dataSet->RemoveDataSource(this);
    }
    // Links keep no pointer to a freed source.
    while (!FLinks.empty()) {
        TDataLink* link = FLinks.back();
        FLinks.pop_back();
        link->SourceGone();
    }
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == FDataSet.Get())
        return;
    if (TDataSet* old = FDataSet.Get()) {
        FDataSet.Reset();
        old->RemoveDataSource(this);
    }
    if (dataSet) {
        FDataSet.Reset(dataSet, [this] { DataSetFreed(); });
        dataSet->AddDataSource(this);
    }
    UpdateLinkStates();
}

void TDataSource::DataSetFreed()
{
    UpdateLinkStates();
}

TDataSetState TDataSource::State() const
{
    return FDataSet && FEnabled ? FDataSet->State() : dsInactive;
}

void TDataSource::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateLinkStates();
}

void TDataSource::Edit()
{
    if (FAutoEdit && State() == dsBrowse)
        FDataSet->Edit();
}

void TDataSource::AddLink(TDataLink* link)
{
    FLinks.push_back(link);
    if (FDataSet)
        FDataSet->UpdateBufferCount(link);
}

void TDataSource::RemoveLink(TDataLink* link)
{
    std::erase(FLinks, link);
    if (FDataSet)
        FDataSet->UpdateBufferCount();
}

void TDataSource::UpdateLinkStates()
{
    for (size_t i = 0; i < FLinks.size(); ++i)
        FLinks[i]->UpdateState();
    TDataSetState state = State();
    if (state != FLastState) {
        FLastState = state;
        if (OnStateChange)
            OnStateChange(*this);
    }
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int distance, TField** focusField)
{
    if (event == deUpdateState) {
        UpdateLinkStates();
        return;
    }
    if (!FEnabled)
        return;
    for (size_t i = 0; i < FLinks.size(); ++i) {
        FLinks[i]->DataEvent(event, field, distance, focusField);
        if (event == deFocusControl && focusField && !*focusField)
            return;   // a control took the focus
    }
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (OnDataChange)
            OnDataChange(*this, field);
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(*this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(*this);
        break;
    default:
        break;
    }
}
