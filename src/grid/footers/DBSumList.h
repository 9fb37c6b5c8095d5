#pragma once
// Footer summaries: a summary list attaches itself to a dataset's events,
// computes every aggregate in one walk when the data opens or changes
// wholesale, and afterwards keeps them current after each post and delete
// by the difference the changed record makes, without walking again.  It
// can also keep the ordered list of all record bookmarks, which gives
// record numbers and a record count to datasets that have none of their own.
//
// Values are fixed point x 10000 (the currency representation), rounded
// half to even.  An item whose value cannot be computed (a field that does
// not hold numbers, a total beyond the 64-bit range) is marked not Valid
// and shows no number at all rather than a wrong one.

#include "data/DataSet.h"
#include "platform/FreeNotifier.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TGroupOperation { goSum, goAvg, goCount };

class TDBSumCollection;
class TDBSumListProducer;

class TDBSum {
public:
    explicit TDBSum(TDBSumCollection& collection) : FCollection(collection) {}

    // The summed field; empty for a plain record count.
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& value);
    TGroupOperation GroupOperation() const { return FGroupOperation; }
    void SetGroupOperation(TGroupOperation value);

    // The result, x 10000.
    int64_t SumValue() const { return FValue; }
    void SetSumValue(int64_t value) { FValue = value; }
    // False when the value could not be computed; the footer stays empty.
    bool Valid() const { return FValid; }

    // Copies the operation, field name, start value and value.
    void Assign(const TDBSum& source);

private:
    friend class TDBSumListProducer;
    friend class TDBSumCollection;

    void CopyFrom(const TDBSum& source);
    // Whether the item reads records at all (a sum or average of nothing
    // has no field to read).
    bool ReadsRecords() const { return FGroupOperation == goCount || !FFieldName.empty(); }
    void Clear();

    TDBSumCollection& FCollection;
    std::string FFieldName;
    TGroupOperation FGroupOperation = goSum;
    int64_t FValue = 0;
    int64_t FStartValue = 0;
    TVariant FStartVariant;
    int32_t FAvgCount = 0;
    int64_t FAvgTotal = 0;
    bool FValid = true;
};

// The items of one summary list; any change recalculates the list.
class TDBSumCollection {
public:
    explicit TDBSumCollection(TDBSumListProducer& owner) : FOwner(owner) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    TDBSum& operator[](int index) { return *FItems.at(static_cast<size_t>(index)); }
    const TDBSum& operator[](int index) const { return *FItems.at(static_cast<size_t>(index)); }
    TDBSum& Add();
    void Delete(int index);
    void Remove(const TDBSum& item);
    void Clear();
    void Assign(const TDBSumCollection& source);

    // Called by an item whose field name or operation changed.
    void ItemChanged() { Changed(); }

private:
    void Changed();

    TDBSumListProducer& FOwner;
    std::vector<std::unique_ptr<TDBSum>> FItems;
};

class TDBSumListProducer {
public:
    using TNotify = std::function<void()>;

    TDBSumListProducer();
    virtual ~TDBSumListProducer();
    TDBSumListProducer(const TDBSumListProducer&) = delete;
    TDBSumListProducer& operator=(const TDBSumListProducer&) = delete;

    bool Active() const { return FActive; }
    void SetActive(bool value);
    // A full recalculation only fires OnRecalcAll and leaves the values to it.
    bool ExternalRecalc() const { return FExternalRecalc; }
    void SetExternalRecalc(bool value);
    // Keep the list of record bookmarks for datasets without record numbers.
    bool VirtualRecords() const { return FVirtualRecords; }
    void SetVirtualRecords(bool value);

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* value);

    TDBSumCollection& SumCollection() { return FSumCollection; }
    const TDBSumCollection& SumCollection() const { return FSumCollection; }
    // The first item of that operation whose field name matches without
    // regard to case; null when there is none.
    TDBSum* FindSumByOpAndFName(TGroupOperation operation, const std::string& fieldName);

    // Copies Active, ExternalRecalc, the items, the dataset and the two
    // handlers (not VirtualRecords).
    void Assign(const TDBSumListProducer& source);

    // Fired whenever values change, and at the start of every full
    // recalculation.
    TNotify SumListChanged;
    TNotify OnRecalcAll;

    // ---- record numbering for datasets that have none of their own
    bool ServesRecordNumbers() const;
    int64_t RecNo();
    void SetRecNo(int64_t recNo);
    int64_t RecordCount() const;
    bool HasRecordNumbers() const;
    // Entries of the record list, in dataset order.
    const std::vector<std::string>& RecordList() const { return FRecordList; }

    virtual int IndexOfBookmark(const std::string& bookmark);
    virtual void UnhookDataSetEvents();
    virtual void ClearSumValues();
    virtual void RecalcAll();
    virtual void HookDataSetEvents();

protected:
    bool Hooked() const { return FHooked; }
    void FireSumListChanged();

private:
    struct TSavedHandlers {
        TDataSet::TNotifyEvent AfterEdit, AfterInsert, AfterOpen, AfterPost, AfterScroll, BeforeDelete, AfterDelete,
            AfterClose, AfterCancel;
    };
    // What a record being deleted contributes, read before the delete.
    struct TDeletedContribution {
        TDBSum* Item;
        bool IsNull;
        int64_t Scaled;
        bool Readable;
    };

    enum TSavedOrder { SavedFirst, SavedLast };

    void Activate();
    void Deactivate();
    // The list's handler `own` chained with the dataset's saved handler,
    // which runs before or after it.
    TDataSet::TNotifyEvent Chained(const TDataSet::TNotifyEvent& saved, void (TDBSumListProducer::*own)(),
                                   TSavedOrder order);
    void DataSetAfterOpen();
    void DataSetAfterEdit();
    void DataSetAfterInsert();
    void DataSetAfterPost();
    void DataSetBeforeDelete();
    void DataSetAfterDelete();
    void DataSetAfterScroll();
    void DataSetAfterClose();
    void DataSetAfterCancel();
    void WalkDataSet();
    void RecordFilterState();
    void InsertCurrentBookmark();
    bool SequencedDataSet() const;
    bool KeepsRecordList() const { return FVirtualRecords && FDataSet && !SequencedDataSet(); }
    // The item's field as a number x 10000 (0 for null); false when it
    // does not hold a number.
    bool ScaledFieldValue(const TField& field, int64_t& scaled) const;
    TField& ItemField(const TDBSum& item) const;
    // Calls visit(item, field) for each item that reads the records'
    // values; field is null for a count of records.
    template <class Visit> void ForEachReader(Visit visit);
    void Apply(TDBSum& item, const std::function<bool()>& step);

    TDBSumCollection FSumCollection;
    TDataSet* FDataSet = nullptr;
    TFreeNotifier::TToken FDataSetToken = 0;
    bool FActive = false;
    bool FExternalRecalc = false;
    bool FVirtualRecords = false;
    bool FHooked = false;
    bool FRecalculating = false;
    bool FPendingInsert = false;
    bool FLastFiltered = false;
    std::string FLastFilter;
    std::vector<std::string> FRecordList;
    int FSearchPosition = -1;
    TSavedHandlers FSaved;
    std::vector<TDeletedContribution> FPendingDelete;
    int FPendingDeleteIndex = -1;
    bool FDeletePending = false;
};
