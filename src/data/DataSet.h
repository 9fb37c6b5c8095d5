#pragma once
// TDataSet: a table's records seen through a window of record buffers
// around the current record, with the fields that read them, the editing
// states, and the notifications every data link of its data sources gets.
// A subclass supplies the engine cursor (CreateCursor); everything else is
// done here on top of the cursor.

#include "data/Fields.h"
#include "data/FilterExpression.h"
#include "data/RecordRing.h"
#include "data/engine/EngineCursor.h"
#include "platform/Exceptions.h"
#include "platform/FreeNotifier.h"
#include "platform/Variant.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TDataSource;
class TDataLink;
class TLookupCache;

enum TDataSetState {
    dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter,
    dsNewValue, dsOldValue, dsCurValue
};

enum TDataEvent {
    deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange,
    deUpdateRecord, deUpdateState, deCheckBrowseMode, deFocusControl
};

// What an error handler wants done after a failed post, edit or delete.
enum TDataAction { daFail, daAbort, daRetry };

enum TLocateOption { loCaseInsensitive, loPartialKey };

class TLocateOptions {
public:
    constexpr TLocateOptions() = default;
    constexpr TLocateOptions(TLocateOption option) : FBits(Bit(option)) {}
    constexpr TLocateOptions(std::initializer_list<TLocateOption> options)
    {
        for (TLocateOption option : options)
            FBits |= Bit(option);
    }
    constexpr bool Contains(TLocateOption option) const { return (FBits & Bit(option)) != 0; }

private:
    static constexpr unsigned Bit(TLocateOption option) { return 1u << static_cast<unsigned>(option); }
    unsigned FBits = 0;
};

class TDataSet : public TFreeNotifier {
public:
    using TNotifyEvent = std::function<void(TDataSet& dataSet)>;
    using TErrorEvent = std::function<void(TDataSet& dataSet, EDatabaseError& error, TDataAction& action)>;
    using TFilterRecordEvent = std::function<void(TDataSet& dataSet, bool& accept)>;

    TDataSet();
    ~TDataSet() override;

    // ---- opening and state
    bool Active() const { return FState != dsInactive; }
    void SetActive(bool value);
    void Open();
    void Close();
    TDataSetState State() const { return FState; }
    // True when records may be changed (the table was not opened read-only).
    bool CanModify() const;
    bool Modified() const { return FModified; }
    bool DefaultFields() const { return FDefaultFields; }
    void CheckActive() const;     // "Cannot perform this operation on a closed dataset"
    void CheckInactive() const;   // "Cannot perform this operation on an open dataset"

    // ---- fields
    TFields& Fields() { return FFields; }
    const TFields& Fields() const { return FFields; }
    int FieldCount() const { return FFields.Count(); }
    TField* FindField(const std::string& name) const { return FFields.FindField(name); }
    TField* FieldByName(const std::string& name) const { return FFields.FieldByName(name); }
    // The fields of ";"-separated names; raises for a name without a field.
    void GetFieldList(std::vector<TField*>& list, const std::string& names) const;
    // One name gives its value, several an array of values.
    TVariant FieldValues(const std::string& names) const;
    void SetFieldValues(const std::string& names, const TVariant& value);
    // Sets every data field of the edited record to null.
    void ClearFields();

    // ---- used by the fields
    TVariant GetFieldData(const TField& field) const;
    void SetFieldData(TField& field, const TVariant& value);
    void FieldPropertyChanged(TField& field, bool layout);
    void FocusFieldControl(TField& field);

    // ---- navigation
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves at most `distance` records, stopping at either end; returns the
    // number of records actually moved (negative backwards).
    int MoveBy(int distance);
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    bool IsEmpty() const;
    // Record numbers are exact: the cursor has them and no filter is on.
    bool IsSequenced() const;
    // 1-based number of the current record; -1 when unknown.
    int64_t RecNo() const;
    void SetRecNo(int64_t recNo);
    // Records of the dataset (passing the filter when one is on).
    int64_t RecordCount() const;

    // ---- bookmarks
    std::string Bookmark() const;
    void SetBookmark(const std::string& bookmark) { GotoBookmark(bookmark); }
    void GotoBookmark(const std::string& bookmark);
    bool BookmarkValid(const std::string& bookmark);
    int CompareBookmarks(const std::string& a, const std::string& b) const;

    // Re-reads the records around the current one from the engine.
    void Refresh();
    // Refills the buffers around the current record without reading the
    // engine's other changes (keeps the current record's row).
    void Resync();
    // Puts the engine cursor on the current record.
    void UpdateCursorPos();

    // ---- editing
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Asks the links to write their pending edits into the fields.
    void UpdateRecord();
    // Ends an edit in progress: pending edits written, then posted when
    // modified, cancelled otherwise.
    void CheckBrowseMode();
    // Append (Insert) with the given values, then Post.
    void AppendRecord(const std::vector<TVariant>& values);
    void InsertRecord(const std::vector<TVariant>& values);

    // ---- appending many records at once (DataSetBatch.cpp)
    // Ends the append of a record by handing over its values instead of
    // writing them: Post's checks and BeforePost run, then the append is
    // cancelled and the values are returned for AppendRecords.
    TEngineRecord TakeAppendedRecord();
    // Appends records of values in field order (as the engine stores them)
    // in one call of the engine: a table's driver writes them as one
    // operation, all or nothing; other datasets store them one by one.
    // `appended` counts the records stored; the last of them becomes the
    // current record.
    void AppendRecords(std::vector<TEngineRecord>& records, size_t& appended);

    // ---- batches
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    // ---- searching
    bool Locate(const std::string& keyFields, const TVariant& keyValues, TLocateOptions options = {});
    // Whether Locate over these fields is answered by the engine from its
    // own stored values, without reading the records one by one.
    bool LocateIsQuick(const std::string& keyFields, TLocateOptions options = {}) const;

    // ---- key entry: the fields take search values instead of record values
    // Starts key entry with every key value empty.
    void SetKey();
    // Starts key entry with the values of the previous key entry.
    void EditKey();
    // Ends key entry and moves to the first record whose fields equal every
    // value given; false (and no move) when there is none or no value was given.
    bool GotoKey();
    // Ends key entry without searching.
    void CancelKey();
    // The value(s) of resultFields of the first record matching, without
    // moving; Null when none matches.
    TVariant Lookup(const std::string& keyFields, const TVariant& keyValues, const std::string& resultFields);

    // ---- filtering
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool value);
    const std::string& Filter() const { return FFilterText; }
    void SetFilter(const std::string& text);
    TFilterOptions FilterOptions() const { return FFilterOptions; }
    void SetFilterOptions(TFilterOptions options);

    // Changes whenever the stored records may have changed (open, close,
    // post, delete, refresh, filter), so results computed from them can be kept.
    uint64_t ContentVersion() const { return FContentVersion; }

    // ---- data sources and links
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);
    // Called by a link whose BufferCount changed: resizes the buffers to the
    // largest BufferCount of all links and refills them around the current
    // record.  Every other link gets DataSetChanged when the buffers changed.
    void UpdateBufferCount(TDataLink* requester = nullptr);
    int BufferRecordCount() const { return FRecordCount; }   // records held in buffers
    int ActiveBufferIndex() const { return FActiveRecord; }  // buffer of the current record
    // Selects the buffer the fields read from (-1: the current record's).
    void SetDisplayRecord(int index);

    // ---- events (a Before handler aborts the operation by throwing EAbort)
    TNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TNotifyEvent OnCalcFields, OnNewRecord;
    TFilterRecordEvent OnFilterRecord;
    TErrorEvent OnPostError, OnEditError, OnDeleteError;

protected:
    // Opens the engine cursor over the records; raises on failure.
    virtual std::unique_ptr<TEngineCursor> CreateCursor() = 0;
    // Closes the dataset without events; subclasses call it from their
    // destructors while they still exist.
    void CloseQuietly();
    TEngineCursor* Cursor() const { return FCursor.get(); }
    // A subclass changed the stored records behind the cursor's back.
    void ContentChanged() { ++FContentVersion; }

private:
    friend class TDataLink;
    friend class TDataSetStateGuard;

    // ---- opening (DataSetOpen.cpp)
    void CreateDefaultFields();
    void BindFields();
    void DestroyDefaultFields();
    void CheckLookupDefinitions() const;

    // ---- buffers (DataSetBuffers.cpp)
    void ClearBuffers();
    void ResetBuffers();
    int WantedBufferCount() const;
    // Reads the record after (before) the buffered ones; when the buffers
    // are full the window shifts and `shift` changes by one.
    bool FetchNext(int& shift);
    bool FetchPrior(int& shift);
    // Reads the next (prior) record the filter accepts into `buffer`.
    bool ReadAccepted(bool forward, TRecordBuffer& buffer);
    bool RecordAccepted(TRecordBuffer& buffer);
    // Puts the cursor on a bookmarked record that exists and that the filter
    // lets through.
    bool CursorToVisibleBookmark(const std::string& bookmark);
    // Refills the buffers around the record under the cursor (on a crack or
    // a record the filter rejects: the nearest accepted one after it, else
    // before it), putting it at buffer `row` where the records allow.
    void FillAroundCursor(int row, bool cursorOnRecord);
    void PositionCursor(int index);
    // Resizes the buffers keeping the current record; returns how far the
    // buffered records shifted towards buffer 0.
    int ResizeBuffers(int count);
    const TRecordBuffer* ReadBuffer() const;
    TRecordBuffer& CurrentBuffer() { return FState == dsSetKey ? FKeyBuffer : FBuffers[FActiveRecord]; }

    // ---- calculated and lookup fields (DataSetCalc.cpp)
    void PrepareCalcFields();
    void CalculateFields(TRecordBuffer& buffer);
    // Recalculates the edited record; notifies the links of every
    // calculated or lookup field whose value changed.
    void RecalculateCurrent();
    int CalcSlot(const TField& field) const;
    // Raises when a calculation or filter handler would move this dataset
    // or search it while one of its records is being read.
    void CheckNotCalculating(const char* operation) const;

    // ---- filter (DataSetFilter.cpp)
    void UpdateFilter();
    void ChangeFilter(const std::function<void()>& apply, const std::function<void()>& restore);
    bool FilterActive() const { return FFiltered && (FFilterExpr || OnFilterRecord); }

    // ---- searching (DataSetLocate.cpp)
    struct TKeyMatcher;
    bool EngineCanFind(const TKeyMatcher& matcher) const;
    bool FindRecord(const TKeyMatcher& matcher, TRecordBuffer& found);

    // ---- editing (DataSetEditing.cpp)
    void CheckCanModify() const;
    void CheckEditing() const;
    void BeginInsertAppend(bool append);
    void CheckRequiredFields();
    void WriteRecord();
    void CancelEditQuietly();
    void RunWithErrorEvent(const TErrorEvent& handler, const std::function<void()>& action);

    // ---- notifications (DataSet.cpp)
    void SetState(TDataSetState state);
    void DataEvent(TDataEvent event, TField* field = nullptr, int distance = 0);
    void DoEvent(const TNotifyEvent& event) { if (event) event(*this); }
    void SetFieldValuesFrom(const std::vector<TVariant>& values);

    TFields FFields;
    std::unique_ptr<TEngineCursor> FCursor;
    TDataSetState FState = dsInactive;
    bool FDefaultFields = false;
    bool FModified = false;
    bool FBof = true;
    bool FEof = true;

    TRecordRing FBuffers;
    int FBufferCount = 1;        // records the buffers hold at most
    int FRecordCount = 0;        // records held now
    int FActiveRecord = 0;       // buffer of the current record
    int FDisplayRecord = -1;     // buffer a link selected for reading, -1: current
    int FCursorAt = -1;          // buffer the engine cursor sits on, -1: unknown
    TRecordBuffer FKeyBuffer;               // the values of key entry
    TRecordBuffer* FTempBuffer = nullptr;   // read by the fields while calculating or filtering
    TRecordBuffer FSavedRecord;             // the record as it was when Edit began
    std::string FInsertBefore;              // bookmark of the record an insert goes before
    bool FAppending = false;

    std::vector<TDataSource*> FDataSources;
    int FDisableCount = 0;
    bool FDisabledStateChanged = false;
    bool FDisabledLayoutChanged = false;

    std::unordered_map<const TField*, int> FCalcSlots;
    std::unordered_map<const TField*, std::unique_ptr<TLookupCache>> FLookupCaches;
    uint64_t FContentVersion = 0;
    std::vector<TField*> FCalcFields;      // calculated and internal-calculated
    std::vector<TField*> FLookupFields;
    int FCalcDepth = 0;   // calculating fields or filtering a record read now

    bool FFiltered = false;
    std::string FFilterText;
    TFilterOptions FFilterOptions;
    std::unique_ptr<TFilterExpression> FFilterExpr;
};

// Sets a dataset's state for the duration of a scope without telling the
// links (calculating fields, filtering); restores it on every path.
class TDataSetStateGuard {
public:
    TDataSetStateGuard(TDataSet& dataSet, TDataSetState state, TRecordBuffer* buffer)
        : FDataSet(dataSet), FOldState(dataSet.FState), FOldBuffer(dataSet.FTempBuffer)
    {
        dataSet.FState = state;
        dataSet.FTempBuffer = buffer;
    }
    ~TDataSetStateGuard()
    {
        FDataSet.FState = FOldState;
        FDataSet.FTempBuffer = FOldBuffer;
    }
    TDataSetStateGuard(const TDataSetStateGuard&) = delete;
    TDataSetStateGuard& operator=(const TDataSetStateGuard&) = delete;

private:
    TDataSet& FDataSet;
    TDataSetState FOldState;
    TRecordBuffer* FOldBuffer;
};
