#include "data/MemCursor.h"

#include "data/MemColumnIndex.h"

#include "data/engine/EngineStatus.h"
#include "platform/ScopeGuard.h"
#include "platform/Utf8.h"

#include <cstring>

// ---- storage

TMemStorage::TMemStorage(std::vector<TEngineFieldDef> defs) : FDefs(std::move(defs)) {}

TMemStorage::~TMemStorage() = default;

template <typename Change>
void TMemStorage::UpdateIndexes(Change change)
{
    try {
        for (auto& index : FIndexes)
            change(*index);
    } catch (...) {
        FIndexes.clear();
    }
}

void TMemStorage::Renumber()
{
    for (size_t i = FValidPos; i < FOrder.size(); ++i)
        FOrder[i]->Pos = i;
    FValidPos = FOrder.size();
}

size_t TMemStorage::PositionOf(TMemRow* row)
{
    if (row->Pos < FValidPos && FOrder[row->Pos] == row)
        return row->Pos;
    Renumber();
    return row->Pos;
}

std::string TMemStorage::BookmarkOf(const TMemRow& row)
{
    std::string bookmark(sizeof row.Id, '\0');
    std::memcpy(bookmark.data(), &row.Id, sizeof row.Id);
    return bookmark;
}

TMemRow* TMemStorage::Find(const std::string& bookmark) const
{
    uint64_t id = 0;
    if (bookmark.size() != sizeof id)
        return nullptr;
    std::memcpy(&id, bookmark.data(), sizeof id);
    if (id <= FIdBase || id - FIdBase > FRows.size())
        return nullptr;
    TMemRow* row = const_cast<TMemRow*>(&FRows[id - FIdBase - 1]);
    return row->Deleted ? nullptr : row;
}

int TMemStorage::CompareBookmarks(const std::string& a, const std::string& b)
{
    TMemRow* x = Find(a);
    TMemRow* y = Find(b);
    if (x && y) {
        size_t px = PositionOf(x), py = PositionOf(y);
        return px < py ? -1 : (px > py ? 1 : 0);
    }
    // A bookmark of a deleted record keeps no place; order such bookmarks
    // by their text so the order stays total and stable.
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

TEngineRecord TMemStorage::BlankRecord() const
{
    return TEngineRecord(FDefs.size(), TVariant::Null());
}

void TMemStorage::PrepareRecord(TEngineRecord& record, bool isNew)
{
    if (record.size() != FDefs.size())
        RaiseEngineError(DBIERR_INVALIDPARAM, {"Record has " + std::to_string(record.size()) +
                                                   " values, the table has " +
                                                   std::to_string(FDefs.size()) + " columns"});
    for (size_t i = 0; i < FDefs.size(); ++i) {
        const TEngineFieldDef& def = FDefs[i];
        TVariant& value = record[i];
        if (value.IsEmpty())
            value = TVariant::Null();
        bool assigned = def.DataType == ftAutoInc && isNew;
        if (def.Required && value.IsNull() && !assigned)
            RaiseEngineError(DBIERR_REQDERR, {"Field: " + def.Name});
        if (IsStringType(def.DataType) && def.Size > 0 && value.VarType() == varString &&
            Utf8Length(value.AsString()) > static_cast<size_t>(def.Size))
            RaiseEngineError(DBIERR_INVALIDFIELDVALUE,
                             {"Field: " + def.Name, "The text is longer than " + std::to_string(def.Size) + " characters"});
    }
    // Numbers are given only to a record that passed every check.
    for (size_t i = 0; i < FDefs.size(); ++i) {
        if (FDefs[i].DataType != ftAutoInc)
            continue;
        TVariant& value = record[i];
        if (isNew && value.IsNull())
            value = static_cast<int32_t>(FNextAutoInc);
        if (!value.IsNull() && value.AsInt64() >= FNextAutoInc)
            FNextAutoInc = value.AsInt64() + 1;
    }
}

TMemRow* TMemStorage::Insert(size_t pos, TEngineRecord values)
{
    TMemRow& row = FRows.emplace_back();
    row.Id = FIdBase + FRows.size();
    row.Values = std::move(values);
    row.Pos = pos;
    FOrder.insert(FOrder.begin() + static_cast<std::ptrdiff_t>(pos), &row);
    if (pos + 1 == FOrder.size() && FValidPos == pos)
        FValidPos = FOrder.size();
    else if (FValidPos > pos)
        FValidPos = pos;
    UpdateIndexes([&row](TMemColumnIndex& index) { index.Add(&row); });
    FOrderedColumns.Check(*this, pos);
    return &row;
}

void TMemStorage::Modify(TMemRow* row, TEngineRecord values)
{
    UpdateIndexes([row](TMemColumnIndex& index) { index.Remove(row); });
    row->Values = std::move(values);
    UpdateIndexes([row](TMemColumnIndex& index) { index.Add(row); });
    if (FOrderedColumns.AnyOrdered())
        FOrderedColumns.Check(*this, PositionOf(row));
}

void TMemStorage::Erase(TMemRow* row)
{
    UpdateIndexes([row](TMemColumnIndex& index) { index.Remove(row); });
    size_t pos = PositionOf(row);
    FOrder.erase(FOrder.begin() + static_cast<std::ptrdiff_t>(pos));
    if (FValidPos > pos)
        FValidPos = pos;
    row->Deleted = true;
    row->Values = TEngineRecord();
    if (FLockedRow == row)
        FLockedRow = nullptr, FLockOwner = nullptr;
}

void TMemStorage::Clear()
{
    FIndexes.clear();
    if (FIndexTextColumns)
        AddTextIndexes();
    FOrderedColumns.Reset();
    FOrder.clear();
    FIdBase += FRows.size();   // bookmarks of the cleared records are gone for good
    FRows.clear();
    FValidPos = 0;
    FLockedRow = nullptr;
    FLockOwner = nullptr;
}

TMemColumnIndex& TMemStorage::IndexFor(int column, TMemIndexOrder order)
{
    for (auto& index : FIndexes)
        if (index->Column() == column && index->Order() == order)
            return *index;
    FIndexes.push_back(std::make_unique<TMemColumnIndex>(*this, column, order));
    return *FIndexes.back();
}

TMemRow* TMemStorage::FindFirst(const TEngineSearch& search)
{
    if (search.Terms.empty())
        return FOrder.empty() ? nullptr : FOrder.front();
    const TEngineSearchTerm& term = search.Terms.front();
    const TMemIndexOrder order = TMemColumnIndex::OrderFor(search, term);
    if (FOrderedColumns.IsOrdered(term.Column, order))
        return TMemOrderedColumns::FindFirst(*this, order, search, term);
    TMemColumnIndex& index = IndexFor(term.Column, order);
    try {
        return index.FindFirst(search, term);
    } catch (...) {
        // Settling the rows added may have failed part-way (out of memory).
        FIndexes.clear();
        throw;
    }
}

void TMemStorage::AddTextIndexes()
{
    for (size_t column = 0; column < FDefs.size(); ++column)
        if (IsStringType(FDefs[column].DataType))
            IndexFor(static_cast<int>(column), TMemIndexOrder::FoldedText);
}

void TMemStorage::IndexTextColumnsAsRowsArrive()
{
    FIndexTextColumns = true;
    AddTextIndexes();
}

void TMemStorage::SettleIndexes()
{
    UpdateIndexes([](TMemColumnIndex& index) { index.Settle(); });
}

const void* TMemStorage::LockOwner(const TMemRow* row) const
{
    return row == FLockedRow ? FLockOwner : nullptr;
}

void TMemStorage::SetLock(const TMemRow* row, const void* owner)
{
    FLockedRow = owner ? row : nullptr;
    FLockOwner = owner;
}

// ---- cursor

TMemCursor::TMemCursor(std::shared_ptr<TMemStorage> storage, bool sequenced, bool readOnly)
    : FStorage(std::move(storage)), FSequenced(sequenced), FReadOnly(readOnly)
{
    SetToBegin();
}

TMemCursor::~TMemCursor()
{
    if (FRow && FStorage->LockOwner(FRow) == this)
        FStorage->SetLock(FRow, nullptr);
}

void TMemCursor::SetToBegin()
{
    FRow = FStorage->Count() ? FStorage->At(0) : nullptr;
    FOnCrack = true;
}

void TMemCursor::SetToEnd()
{
    FRow = nullptr;
    FOnCrack = true;
}

bool TMemCursor::Next(TEngineRecord& record)
{
    size_t next;
    if (FOnCrack) {
        if (!FRow)
            return false;
        next = FStorage->PositionOf(FRow);
    } else {
        next = FStorage->PositionOf(FRow) + 1;
    }
    if (next >= FStorage->Count()) {
        SetToEnd();
        return false;
    }
    FRow = FStorage->At(next);
    FOnCrack = false;
    record = FRow->Values;
    return true;
}

bool TMemCursor::Prior(TEngineRecord& record)
{
    size_t here = FRow ? FStorage->PositionOf(FRow) : FStorage->Count();
    if (here == 0) {
        SetToBegin();
        return false;
    }
    FRow = FStorage->At(here - 1);
    FOnCrack = false;
    record = FRow->Values;
    return true;
}

bool TMemCursor::ReadCurrent(TEngineRecord& record)
{
    if (FOnCrack || !FRow)
        return false;
    record = FRow->Values;
    return true;
}

TMemRow* TMemCursor::CurrentRow() const
{
    if (FOnCrack || !FRow)
        RaiseEngineError(DBIERR_NOCURRREC);
    return FRow;
}

std::string TMemCursor::Bookmark() const
{
    return TMemStorage::BookmarkOf(*CurrentRow());
}

bool TMemCursor::GotoBookmark(const std::string& bookmark)
{
    TMemRow* row = FStorage->Find(bookmark);
    if (!row)
        return false;
    FRow = row;
    FOnCrack = false;
    return true;
}

int TMemCursor::CompareBookmarks(const std::string& a, const std::string& b) const
{
    return FStorage->CompareBookmarks(a, b);
}

int64_t TMemCursor::RecNo()
{
    if (!FSequenced || FOnCrack || !FRow)
        return -1;
    return static_cast<int64_t>(FStorage->PositionOf(FRow)) + 1;
}

bool TMemCursor::SetRecNo(int64_t recNo)
{
    if (!FSequenced || recNo < 1 || recNo > RecordCount())
        return false;
    FRow = FStorage->At(static_cast<size_t>(recNo - 1));
    FOnCrack = false;
    return true;
}

void TMemCursor::CheckWritable() const
{
    if (FReadOnly)
        RaiseEngineError(DBIERR_TABLEREADONLY);
}

void TMemCursor::LockRecord(TEngineRecord& fresh)
{
    CheckWritable();
    TMemRow* row = CurrentRow();
    const void* owner = FStorage->LockOwner(row);
    if (owner && owner != this)
        RaiseEngineError(DBIERR_LOCKED);
    FStorage->SetLock(row, this);
    fresh = row->Values;
}

void TMemCursor::UnlockRecord()
{
    if (FRow && FStorage->LockOwner(FRow) == this)
        FStorage->SetLock(FRow, nullptr);
}

void TMemCursor::ModifyRecord(const TEngineRecord& record)
{
    CheckWritable();
    TMemRow* row = CurrentRow();
    const void* owner = FStorage->LockOwner(row);
    if (owner && owner != this)
        RaiseEngineError(DBIERR_LOCKED);
    TEngineRecord checked = record;
    FStorage->PrepareRecord(checked, false);
    FStorage->Modify(row, std::move(checked));
    FStorage->SetLock(row, nullptr);
}

void TMemCursor::InsertRecord(TEngineRecord& record, bool append)
{
    CheckWritable();
    TEngineRecord checked = record;
    FStorage->PrepareRecord(checked, true);
    size_t pos = (append || !FRow) ? FStorage->Count() : FStorage->PositionOf(FRow);
    record = checked;
    FRow = FStorage->Insert(pos, std::move(checked));
    FOnCrack = false;
}

void TMemCursor::DeleteRecord()
{
    CheckWritable();
    TMemRow* row = CurrentRow();
    const void* owner = FStorage->LockOwner(row);
    if (owner && owner != this)
        RaiseEngineError(DBIERR_LOCKED);
    size_t pos = FStorage->PositionOf(row);
    FStorage->Erase(row);
    FRow = pos < FStorage->Count() ? FStorage->At(pos) : nullptr;
    FOnCrack = true;
}

bool TMemCursor::CanFind(const TEngineSearch& search) const
{
    for (const TEngineSearchTerm& term : search.Terms)
        if (term.Column < 0 || static_cast<size_t>(term.Column) >= FStorage->FieldDefs().size())
            return false;
    return true;
}

void TMemCursor::AppendRecords(std::vector<TEngineRecord>& records, size_t& appended)
{
    TScopeExit settle([this] { FStorage->SettleIndexes(); });
    TEngineCursor::AppendRecords(records, appended);
}

bool TMemCursor::FindFirst(const TEngineSearch& search)
{
    TMemRow* row = FStorage->FindFirst(search);
    if (row == nullptr)
        return false;
    FRow = row;
    FOnCrack = false;
    return true;
}
