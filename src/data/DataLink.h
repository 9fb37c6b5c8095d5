#pragma once
// TDataLink: a control's view of a dataset through a data source.  Each link
// asks for BufferCount records and sees its own window of the dataset's
// record buffers: rows 0 .. RecordCount-1, with the current record at
// ActiveRecord.  The notifications are virtual; a control overrides those it
// needs.

#include "data/DataSet.h"
#include "platform/FreeNotifier.h"

class TDataSource;

class TDataLink {
public:
    TDataLink();
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    // The source is enabled and its dataset open.
    bool Active() const { return FActive; }
    // The dataset is in edit or insert state and this link is not read-only.
    bool Editing() const { return FEditing; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    // Puts the dataset into edit state if it can; true when it is now editing.
    bool Edit();

    int ActiveRecord() const;
    // Selects the buffered record the fields read (no move); the caller restores it.
    void SetActiveRecord(int value);
    int BufferCount() const { return FBufferCount; }
    void SetBufferCount(int value);
    // Records in this link's window: min(BufferCount, records buffered from
    // the window's first row); 1 in the key-entry state; 0 when inactive.
    int RecordCount() const;

protected:
    virtual void ActiveChanged() {}
    virtual void DataSetChanged() {}
    // The window moved by `distance` rows (positive towards the end); 0 for
    // a move inside the window.
    virtual void DataSetScrolled(int distance) { (void)distance; }
    virtual void RecordChanged(TField* field) { (void)field; }
    virtual void EditingChanged() {}
    virtual void LayoutChanged() {}
    // A field asks for the focus; a control that takes it sets *field to nullptr.
    virtual void FocusControl(TField** field) { (void)field; }
    // Write pending edits into the fields.
    virtual void UpdateData() {}
    // The dataset is about to leave its edit state or move.
    virtual void CheckBrowseMode() {}

private:
    friend class TDataSource;
    friend class TDataSet;

    void DataEvent(TDataEvent event, TField* field, int distance, TField** focusField);
    void UpdateState();
    // Moves the window after the dataset's buffers shifted by `shift`
    // (positive: the records moved towards buffer 0) and keeps the current
    // record inside it; returns how many rows the window moved.
    int UpdateWindow(int shift);
    void SourceGone();

    TFreeRef<TDataSource> FDataSource;
    int FBufferCount = 1;
    int FFirstRecord = 0;
    bool FActive = false;
    bool FEditing = false;
    bool FReadOnly = false;
    bool FUpdating = false;
};
