#include "grid/footers/DBSumList.h"

#include "data/Field.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <strings.h>

namespace {

// round(base + addend) half to even, in 64 bits; false when the result
// leaves the range or the addend is not a number.
bool AddRounded(int64_t base, long double addend, int64_t& result)
{
    if (!std::isfinite(addend))
        return false;
    long double sum = std::nearbyint(static_cast<long double>(base) + addend);   // ties to even
    if (sum < -9223372036854775807.0L || sum > 9223372036854775807.0L)
        return false;
    result = static_cast<int64_t>(sum);
    return true;
}

bool Subtract(int64_t a, int64_t b, int64_t& result) { return !__builtin_sub_overflow(a, b, &result); }

int64_t AverageOf(int64_t total, int32_t count)
{
    if (count == 0)
        return 0;
    return static_cast<int64_t>(std::nearbyint(static_cast<long double>(total) / count));
}

// Restores the dataset's controls however the walk ends.
class TControlsDisabled {
public:
    explicit TControlsDisabled(TDataSet& dataSet) : FDataSet(dataSet) { FDataSet.DisableControls(); }
    ~TControlsDisabled() { FDataSet.EnableControls(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TDataSet& FDataSet;
};

} // namespace

// ---- TDBSum

void TDBSum::SetFieldName(const std::string& value)
{
    if (value == FFieldName)
        return;
    FFieldName = value;
    FCollection.ItemChanged();
}

void TDBSum::SetGroupOperation(TGroupOperation value)
{
    if (value == FGroupOperation)
        return;
    FGroupOperation = value;
    FCollection.ItemChanged();
}

void TDBSum::CopyFrom(const TDBSum& source)
{
    FGroupOperation = source.FGroupOperation;
    FFieldName = source.FFieldName;
    FStartValue = source.FStartValue;
    FValue = source.FValue;
    FValid = source.FValid;
}

void TDBSum::Assign(const TDBSum& source)
{
    CopyFrom(source);
    FCollection.ItemChanged();
}

void TDBSum::Clear()
{
    FValue = FStartValue = FAvgTotal = 0;
    FAvgCount = 0;
    FStartVariant = TVariant::Null();
    FValid = true;
}

// ---- TDBSumCollection

TDBSum& TDBSumCollection::Add()
{
    FItems.push_back(std::make_unique<TDBSum>(*this));
    TDBSum& item = *FItems.back();
    Changed();
    return item;
}

void TDBSumCollection::Delete(int index)
{
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TDBSumCollection::Remove(const TDBSum& item)
{
    auto it = std::find_if(FItems.begin(), FItems.end(), [&](const auto& p) { return p.get() == &item; });
    if (it != FItems.end())
        Delete(static_cast<int>(it - FItems.begin()));
}

void TDBSumCollection::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
}

void TDBSumCollection::Assign(const TDBSumCollection& source)
{
    if (&source == this)
        return;
    FItems.clear();
    for (const auto& item : source.FItems) {
        FItems.push_back(std::make_unique<TDBSum>(*this));
        FItems.back()->CopyFrom(*item);
    }
    Changed();
}

void TDBSumCollection::Changed() { FOwner.RecalcAll(); }

// ---- TDBSumListProducer

TDBSumListProducer::TDBSumListProducer() : FSumCollection(*this) {}

TDBSumListProducer::~TDBSumListProducer()
{
    if (FDataSet) {
        FActive = false;
        UnhookDataSetEvents();
        FDataSet->RemoveFreeNotification(FDataSetToken);
    }
}

void TDBSumListProducer::SetActive(bool value)
{
    if (value == FActive)
        return;
    if (value)
        Activate();
    else
        Deactivate();
}

void TDBSumListProducer::Activate()
{
    FActive = true;
    HookDataSetEvents();
    RecalcAll();
}

void TDBSumListProducer::Deactivate()
{
    FActive = false;
    UnhookDataSetEvents();
    ClearSumValues();
}

void TDBSumListProducer::SetExternalRecalc(bool value)
{
    if (value == FExternalRecalc)
        return;
    FExternalRecalc = value;
    RecalcAll();
}

void TDBSumListProducer::SetVirtualRecords(bool value)
{
    if (value == FVirtualRecords)
        return;
    FVirtualRecords = value;
    if (value)
        RecalcAll();
}

void TDBSumListProducer::SetDataSet(TDataSet* value)
{
    if (value == FDataSet)
        return;
    bool wasActive = FActive;
    if (wasActive)
        Deactivate();
    else
        UnhookDataSetEvents();
    if (FDataSet)
        FDataSet->RemoveFreeNotification(FDataSetToken);
    FDataSet = value;
    if (FDataSet)
        FDataSetToken = FDataSet->AddFreeNotification([this](TFreeNotifier*) {
            // The dataset is going: its handlers go with it, nothing to restore.
            FHooked = false;
            FDataSet = nullptr;
            FRecordList.clear();
            FSearchPosition = -1;
            ClearSumValues();
        });
    if (wasActive)
        Activate();
}

TDBSum* TDBSumListProducer::FindSumByOpAndFName(TGroupOperation operation, const std::string& fieldName)
{
    for (int i = 0; i < FSumCollection.Count(); ++i) {
        TDBSum& item = FSumCollection[i];
        if (item.GroupOperation() == operation && strcasecmp(item.FieldName().c_str(), fieldName.c_str()) == 0)
            return &item;
    }
    return nullptr;
}

void TDBSumListProducer::Assign(const TDBSumListProducer& source)
{
    if (&source == this)
        return;
    SetActive(source.FActive);
    FExternalRecalc = source.FExternalRecalc;
    FSumCollection.Assign(source.FSumCollection);
    SetDataSet(source.FDataSet);
    SumListChanged = source.SumListChanged;
    OnRecalcAll = source.OnRecalcAll;
}

void TDBSumListProducer::FireSumListChanged()
{
    if (SumListChanged)
        SumListChanged();
}

void TDBSumListProducer::ClearSumValues()
{
    for (int i = 0; i < FSumCollection.Count(); ++i)
        FSumCollection[i].Clear();
    FireSumListChanged();
}

// ---- hooking

TDataSet::TNotifyEvent TDBSumListProducer::Chained(const TDataSet::TNotifyEvent& saved, void (TDBSumListProducer::*own)(),
                                                   TSavedOrder order)
{
    // `saved` lives in FSaved for as long as the list's handler is installed.
    return [this, &saved, own, order](TDataSet& dataSet) {
        if (order == SavedFirst && saved)
            saved(dataSet);
        (this->*own)();
        if (order == SavedLast && saved)
            saved(dataSet);
    };
}

void TDBSumListProducer::DataSetAfterOpen()
{
    if (FActive)
        RecalcAll();
}

void TDBSumListProducer::HookDataSetEvents()
{
    if (!FDataSet || FHooked)
        return;
    TDataSet& d = *FDataSet;
    FSaved = {d.AfterEdit, d.AfterInsert, d.AfterOpen,  d.AfterPost,
              d.AfterScroll, d.BeforeDelete, d.AfterDelete, d.AfterClose, d.AfterCancel};
    // The dataset's own handlers keep running: before the list's work for
    // edit, scroll, delete and cancel, after it for insert, open, post,
    // the end of a delete and close.
    d.AfterEdit = Chained(FSaved.AfterEdit, &TDBSumListProducer::DataSetAfterEdit, SavedFirst);
    d.AfterInsert = Chained(FSaved.AfterInsert, &TDBSumListProducer::DataSetAfterInsert, SavedLast);
    d.AfterOpen = Chained(FSaved.AfterOpen, &TDBSumListProducer::DataSetAfterOpen, SavedLast);
    d.AfterPost = Chained(FSaved.AfterPost, &TDBSumListProducer::DataSetAfterPost, SavedLast);
    d.AfterScroll = Chained(FSaved.AfterScroll, &TDBSumListProducer::DataSetAfterScroll, SavedFirst);
    d.BeforeDelete = Chained(FSaved.BeforeDelete, &TDBSumListProducer::DataSetBeforeDelete, SavedFirst);
    d.AfterDelete = Chained(FSaved.AfterDelete, &TDBSumListProducer::DataSetAfterDelete, SavedLast);
    d.AfterClose = Chained(FSaved.AfterClose, &TDBSumListProducer::DataSetAfterClose, SavedLast);
    d.AfterCancel = Chained(FSaved.AfterCancel, &TDBSumListProducer::DataSetAfterCancel, SavedFirst);
    FHooked = true;
}

void TDBSumListProducer::UnhookDataSetEvents()
{
    if (!FHooked)
        return;
    TDataSet& d = *FDataSet;
    d.AfterEdit = std::move(FSaved.AfterEdit);
    d.AfterInsert = std::move(FSaved.AfterInsert);
    d.AfterOpen = std::move(FSaved.AfterOpen);
    d.AfterPost = std::move(FSaved.AfterPost);
    d.AfterScroll = std::move(FSaved.AfterScroll);
    d.BeforeDelete = std::move(FSaved.BeforeDelete);
    d.AfterDelete = std::move(FSaved.AfterDelete);
    d.AfterClose = std::move(FSaved.AfterClose);
    d.AfterCancel = std::move(FSaved.AfterCancel);
    FSaved = {};
    FHooked = false;
    FRecordList.clear();
    FSearchPosition = -1;
}

// ---- values

bool TDBSumListProducer::SequencedDataSet() const { return FDataSet && FDataSet->IsSequenced(); }

TField& TDBSumListProducer::ItemField(const TDBSum& item) const { return *FDataSet->FieldByName(item.FieldName()); }

bool TDBSumListProducer::ScaledFieldValue(const TField& field, int64_t& scaled) const
{
    if (field.IsNull()) {
        scaled = 0;
        return true;
    }
    double number;
    try {
        number = field.AsFloat();
    } catch (const EConvertError&) {
        return false;
    } catch (const EVariantError&) {
        return false;
    }
    return AddRounded(0, static_cast<long double>(number) * 10000, scaled);
}

void TDBSumListProducer::Apply(TDBSum& item, const std::function<bool()>& step)
{
    if (item.FValid && !step())
        item.FValid = false;   // shown empty until the next full recalculation
}

void TDBSumListProducer::RecalcAll()
{
    FPendingDelete.clear();   // its items may be gone, and a walk recounts anyway
    FPendingDeleteIndex = -1;
    FDeletePending = false;
    if (!FActive || !FDataSet || !FDataSet->Active() || !FHooked)
        return;
    ClearSumValues();
    FSearchPosition = -1;
    if (OnRecalcAll)
        OnRecalcAll();
    try {
        bool walk = KeepsRecordList();
        for (int i = 0; i < FSumCollection.Count() && !walk; ++i)
            walk = FSumCollection[i].ReadsRecords();
        if (!FExternalRecalc && walk)
            WalkDataSet();
    } catch (...) {
        RecordFilterState();
        FRecalculating = false;
        FireSumListChanged();
        throw;
    }
    RecordFilterState();
    FRecalculating = false;
    FireSumListChanged();
}

template <class Visit>
void TDBSumListProducer::ForEachReader(Visit visit)
{
    for (int i = 0; i < FSumCollection.Count(); ++i) {
        TDBSum& item = FSumCollection[i];
        if (item.ReadsRecords())
            visit(item, item.FieldName().empty() ? nullptr : &ItemField(item));
    }
}

void TDBSumListProducer::WalkDataSet()
{
    TDataSet& d = *FDataSet;
    TControlsDisabled controls(d);
    FRecordList.clear();
    FRecalculating = true;
    const bool keepRecords = KeepsRecordList();
    struct TReader {
        TDBSum* Item;
        TField* Field;
    };
    std::vector<TReader> readers;
    try {
        ForEachReader([&](TDBSum& item, TField* field) { readers.push_back({&item, field}); });
        d.First();
        while (!d.Eof()) {
            for (TReader& r : readers) {
                TDBSum& item = *r.Item;
                if (!item.FValid)
                    continue;
                int64_t scaled = 0;
                bool isNull = r.Field && r.Field->IsNull();
                switch (item.FGroupOperation) {
                case goSum:
                    if (!isNull)
                        Apply(item, [&] { return ScaledFieldValue(*r.Field, scaled) && !__builtin_add_overflow(item.FValue, scaled, &item.FValue); });
                    break;
                case goAvg:
                    if (!isNull) {
                        ++item.FAvgCount;
                        Apply(item, [&] { return ScaledFieldValue(*r.Field, scaled) && !__builtin_add_overflow(item.FAvgTotal, scaled, &item.FAvgTotal); });
                    }
                    break;
                case goCount:
                    if (!isNull)
                        item.FValue += 10000;
                    break;
                }
            }
            if (keepRecords)
                FRecordList.push_back(d.Bookmark());
            d.Next();
            if (!d.Active())
                throw EDatabaseError("The dataset was closed while the footer summaries were computed");
        }
        d.First();
    } catch (...) {
        // Partial totals are wrong totals: nothing is shown until the next
        // recalculation succeeds.
        for (int i = 0; i < FSumCollection.Count(); ++i)
            FSumCollection[i].FValid = false;
        if (!d.Active())
            FRecordList.clear();
        throw;
    }
    for (TReader& r : readers)
        if (r.Item->FGroupOperation == goAvg)
            r.Item->FValue = AverageOf(r.Item->FAvgTotal, r.Item->FAvgCount);
}

void TDBSumListProducer::RecordFilterState()
{
    if (!FDataSet)
        return;
    FLastFiltered = FDataSet->Filtered();
    FLastFilter = FDataSet->Filter();
}

void TDBSumListProducer::DataSetAfterEdit()
{
    if (!FActive)
        return;
    ForEachReader([&](TDBSum& item, TField* field) {
        switch (item.FGroupOperation) {
        case goSum:
        case goAvg:
            item.FStartVariant = field->Value();
            Apply(item, [&] { return ScaledFieldValue(*field, item.FStartValue); });
            break;
        case goCount:
            item.FStartValue = !field || !field->IsNull() ? 10000 : 0;
            break;
        }
    });
}

void TDBSumListProducer::DataSetAfterInsert()
{
    if (!FActive)
        return;
    ForEachReader([&](TDBSum& item, TField* field) {
        switch (item.FGroupOperation) {
        case goSum:
        case goAvg:
            item.FStartValue = 0;
            item.FStartVariant = TVariant::Null();
            break;
        case goCount:
            item.FStartValue = field && !field->IsNull() ? 10000 : 0;
            break;
        }
    });
    if (KeepsRecordList()) {
        std::string bookmark = FDataSet->Bookmark();
        if (!bookmark.empty())
            FRecordList.push_back(bookmark);
        else
            FPendingInsert = true;
    }
}

void TDBSumListProducer::DataSetAfterPost()
{
    if (!FActive)
        return;
    ForEachReader([&](TDBSum& item, TField* field) {
        bool isNull = field && field->IsNull();
        switch (item.FGroupOperation) {
        case goSum:
            Apply(item, [&] {
                int64_t scaled, base;
                return ScaledFieldValue(*field, scaled) && Subtract(item.FValue, item.FStartValue, base) &&
                       !__builtin_add_overflow(base, scaled, &item.FValue);
            });
            break;
        case goCount:
            item.FValue += (isNull ? 0 : 10000) - item.FStartValue;
            break;
        case goAvg:
            if (!isNull && item.FStartVariant.IsNull())
                ++item.FAvgCount;
            if (isNull && !item.FStartVariant.IsNull())
                --item.FAvgCount;
            Apply(item, [&] {
                int64_t scaled, base;
                return ScaledFieldValue(*field, scaled) && Subtract(item.FAvgTotal, item.FStartValue, base) &&
                       !__builtin_add_overflow(base, scaled, &item.FAvgTotal);
            });
            item.FValue = AverageOf(item.FAvgTotal, item.FAvgCount);
            break;
        }
    });
    if (FPendingInsert && KeepsRecordList())
        InsertCurrentBookmark();
    FPendingInsert = false;
    FireSumListChanged();
}

// The record's contribution is read before the delete and taken off only
// once the delete has happened: a delete the table refuses (a locked
// record, a failing handler) leaves every value as it was.
void TDBSumListProducer::DataSetBeforeDelete()
{
    FPendingDelete.clear();
    FPendingDeleteIndex = -1;
    if (!FActive)
        return;
    ForEachReader([&](TDBSum& item, TField* field) {
        TDeletedContribution c{&item, field && field->IsNull(), 0, true};
        if (field && item.FGroupOperation != goCount)
            c.Readable = ScaledFieldValue(*field, c.Scaled);
        FPendingDelete.push_back(c);
    });
    // Found while the record still exists: a deleted record's bookmark
    // need not compare with the others any more.
    FPendingDeleteIndex = KeepsRecordList() ? IndexOfBookmark(FDataSet->Bookmark()) : -1;
    FDeletePending = true;
}

void TDBSumListProducer::DataSetAfterDelete()
{
    if (!FDeletePending || !FActive)
        return;
    FDeletePending = false;
    for (const TDeletedContribution& c : FPendingDelete) {
        TDBSum& item = *c.Item;
        switch (item.FGroupOperation) {
        case goSum:
            Apply(item, [&] { return c.Readable && Subtract(item.FValue, c.Scaled, item.FValue); });
            break;
        case goAvg:
            Apply(item, [&] { return c.Readable && Subtract(item.FAvgTotal, c.Scaled, item.FAvgTotal); });
            if (!c.IsNull)
                --item.FAvgCount;
            item.FValue = AverageOf(item.FAvgTotal, item.FAvgCount);
            break;
        case goCount:
            if (!c.IsNull)
                item.FValue -= 10000;
            break;
        }
    }
    FPendingDelete.clear();
    if (FPendingDeleteIndex >= 0 && FPendingDeleteIndex < static_cast<int>(FRecordList.size())) {
        FRecordList.erase(FRecordList.begin() + FPendingDeleteIndex);
        FSearchPosition = -1;
    }
    FPendingDeleteIndex = -1;
    FireSumListChanged();
}

void TDBSumListProducer::DataSetAfterScroll()
{
    if (!FActive || FRecalculating)
        return;
    if (FDataSet->Filtered() != FLastFiltered || (FDataSet->Filtered() && FDataSet->Filter() != FLastFilter))
        RecalcAll();
}

void TDBSumListProducer::DataSetAfterClose()
{
    if (!FActive)
        return;
    ClearSumValues();
    FRecordList.clear();
    FSearchPosition = -1;
    FRecalculating = false;
}

void TDBSumListProducer::DataSetAfterCancel() { FPendingInsert = false; }
