#pragma once
// TDataSource: connects data links (grids, navigators, editors) to one
// dataset and passes the dataset's notifications on to them.

#include "data/DataSet.h"
#include "platform/FreeNotifier.h"

#include <functional>
#include <vector>

class TDataLink;

class TDataSource : public TFreeNotifier {
public:
    using TNotifyEvent = std::function<void(TDataSource& source)>;
    using TDataChangeEvent = std::function<void(TDataSource& source, TField* field)>;

    explicit TDataSource(TDataSet* dataSet = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return FDataSet.Get(); }
    void SetDataSet(TDataSet* dataSet);
    // The dataset's state, dsInactive while disabled or without a dataset.
    TDataSetState State() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // Whether a link's Edit may put a browsing dataset into edit state.
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool value) { FAutoEdit = value; }
    // Puts the dataset into edit state when AutoEdit allows.
    void Edit();

    const std::vector<TDataLink*>& Links() const { return FLinks; }

    TNotifyEvent OnStateChange;
    TDataChangeEvent OnDataChange;
    TNotifyEvent OnUpdateData;

private:
    friend class TDataSet;
    friend class TDataLink;

    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    void DataEvent(TDataEvent event, TField* field, int distance, TField** focusField);
    void UpdateLinkStates();
    void DataSetFreed();

    TFreeRef<TDataSet> FDataSet;
    std::vector<TDataLink*> FLinks;
    bool FEnabled = true;
    bool FAutoEdit = true;
    TDataSetState FLastState = dsInactive;
};
