// Editing: edit, insert, append, post, cancel and delete.  The record being
// edited is the current record buffer itself; the engine is written only
// by Post and Delete, and a refused write leaves the dataset editing with
// the user's values intact.

#include "data/DataSet.h"

#include "data/engine/EngineStatus.h"

void TDataSet::CheckCanModify() const
{
    if (!CanModify())
        throw EDatabaseError("Cannot modify a read-only dataset");
}

void TDataSet::CheckEditing() const
{
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError("Dataset not in edit or insert mode");
}

void TDataSet::RunWithErrorEvent(const TErrorEvent& handler, const std::function<void()>& action)
{
    for (;;) {
        try {
            action();
            return;
        } catch (EDatabaseError& error) {
            if (!handler)
                throw;
            TDataAction decision = daFail;
            handler(*this, error, decision);
            if (decision == daFail)
                throw;
            if (decision == daAbort)
                throw EAbort();
        }
    }
}

void TDataSet::Edit()
{
    CheckActive();
    if (FState == dsEdit || FState == dsInsert)
        return;
    if (FRecordCount == 0) {
        Insert();
        return;
    }
    CheckCanModify();
    DoEvent(BeforeEdit);
    FDisplayRecord = -1;
    TEngineRecord fresh;
    RunWithErrorEvent(OnEditError, [&] {
        PositionCursor(FActiveRecord);
        FCursor->LockRecord(fresh);
    });
    // The edit starts from the values the engine holds now.
    TRecordBuffer& buffer = CurrentBuffer();
    FSavedRecord = buffer;
    buffer.Values = std::move(fresh);
    try {
        CalculateFields(buffer);
    } catch (...) {
        buffer = FSavedRecord;
        FCursor->UnlockRecord();
        throw;
    }
    SetState(dsEdit);
    DataEvent(deRecordChange);
    DoEvent(AfterEdit);
}

void TDataSet::Insert()
{
    BeginInsertAppend(false);
}

void TDataSet::Append()
{
    BeginInsertAppend(true);
}

void TDataSet::BeginInsertAppend(bool append)
{
    CheckActive();
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeInsert);
    DoEvent(BeforeScroll);
    TEngineRecord blank = FCursor->BlankRecord();
    FDisplayRecord = -1;
    FCursorAt = -1;
    if (!append && FRecordCount > 0) {
        // The new record goes before the current one, in its row; when the
        // buffers are full the last record falls out of the window.
        FInsertBefore = CurrentBuffer().Bookmark;
        FAppending = false;
        if (FRecordCount < FBufferCount) {
            FBuffers.Move(FRecordCount, FActiveRecord);
            ++FRecordCount;
        } else {
            FBuffers.Move(FBufferCount, FActiveRecord);
        }
    } else {
        // Appended: the last row of the window, below the last records.
        FInsertBefore.clear();
        FAppending = true;
        ClearBuffers();
        FCursor->SetToEnd();
        int shift = 0;
        while (FRecordCount < FBufferCount - 1 && FetchPrior(shift)) {
        }
        FActiveRecord = FRecordCount++;
    }
    TRecordBuffer& buffer = CurrentBuffer();
    buffer.Values = std::move(blank);
    buffer.Calc.clear();
    buffer.Bookmark.clear();
    buffer.Flag = bfInserted;
    // An appended record stands past the last one: at the end, as it is
    // again once the append is cancelled.
    FBof = false;
    FEof = append;
    SetState(dsInsert);
    try {
        CalculateFields(buffer);
        DoEvent(OnNewRecord);
    } catch (...) {
        CancelEditQuietly();
        DataEvent(deDataSetChange);
        throw;
    }
    // Defaults from OnNewRecord alone do not make the record worth keeping.
    FModified = false;
    DataEvent(deDataSetChange);
    DoEvent(AfterInsert);
    DoEvent(AfterScroll);
}

void TDataSet::UpdateRecord()
{
    if (FState != dsEdit && FState != dsInsert && FState != dsSetKey)
        throw EDatabaseError("Dataset not in edit or insert mode");
    DataEvent(deUpdateRecord);
}

void TDataSet::CheckRequiredFields()
{
    for (TField* field : FFields) {
        if (field->FieldKind() != fkData || !field->Required() || field->ReadOnly())
            continue;
        try {
            field->CheckRequired();
        } catch (...) {
            field->FocusControl();
            throw;
        }
    }
}

void TDataSet::WriteRecord()
{
    TRecordBuffer& buffer = CurrentBuffer();
    if (FState == dsEdit) {
        PositionCursor(FActiveRecord);
        FCursor->ModifyRecord(buffer.Values);
        return;
    }
    TEngineRecord record = buffer.Values;
    FCursorAt = -1;
    if (!FAppending && !FInsertBefore.empty() && FCursor->GotoBookmark(FInsertBefore)) {
        FCursor->InsertRecord(record, false);
    } else {
        FCursor->SetToEnd();
        FCursor->InsertRecord(record, true);
    }
}

void TDataSet::Post()
{
    CheckActive();
    CheckEditing();
    DataEvent(deCheckBrowseMode);
    UpdateRecord();
    DoEvent(BeforePost);
    CheckRequiredFields();
    RunWithErrorEvent(OnPostError, [this] { WriteRecord(); });
    ++FContentVersion;
    // The engine's cursor is on the record just written: it becomes the
    // current record, in the row the edit was in.
    int row = FActiveRecord;
    FInsertBefore.clear();
    FAppending = false;
    SetState(dsBrowse);
    FCursorAt = -1;
    try {
        FillAroundCursor(row, true);
    } catch (...) {
        DataEvent(deDataSetChange);
        throw;
    }
    DataEvent(deDataSetChange);
    DoEvent(AfterPost);
}

void TDataSet::CancelEditQuietly()
{
    if (FState == dsEdit) {
        try {
            PositionCursor(FActiveRecord);
            FCursor->UnlockRecord();
        } catch (const Exception&) {
            // The record is gone from the engine; there is no lock to give back.
        }
        CurrentBuffer() = FSavedRecord;
        SetState(dsBrowse);
    } else if (FState == dsInsert) {
        int row = FActiveRecord;
        FBuffers.Move(FActiveRecord, FBufferCount);
        --FRecordCount;
        bool appending = FAppending;
        std::string before = std::move(FInsertBefore);
        FInsertBefore.clear();
        FAppending = false;
        SetState(dsBrowse);
        FCursorAt = -1;
        if (!appending && !before.empty() && FCursor->GotoBookmark(before)) {
            FillAroundCursor(row, true);
        } else {
            FCursor->SetToEnd();
            FillAroundCursor(row, false);
            if (FRecordCount > 0)
                FEof = appending;
        }
    }
    FModified = false;
}

void TDataSet::Cancel()
{
    CheckActive();
    if (FState == dsSetKey) {
        CancelKey();
        return;
    }
    if (FState != dsEdit && FState != dsInsert)
        return;
    DataEvent(deCheckBrowseMode);
    DoEvent(BeforeCancel);
    CancelEditQuietly();
    DataEvent(deDataSetChange);
    DoEvent(AfterCancel);
}

void TDataSet::Delete()
{
    CheckActive();
    if (FState == dsInsert) {
        Cancel();
        return;
    }
    if (FRecordCount == 0)
        throw EDatabaseError("Cannot perform this operation on an empty dataset");
    CheckCanModify();
    DataEvent(deCheckBrowseMode);
    DoEvent(BeforeDelete);
    DoEvent(BeforeScroll);
    FDisplayRecord = -1;
    RunWithErrorEvent(OnDeleteError, [this] {
        PositionCursor(FActiveRecord);
        FCursor->DeleteRecord();
    });
    ++FContentVersion;
    // The cursor is on the gap the record left: the record after it takes
    // its row (the one before it when it was the last).
    int row = FActiveRecord;
    if (FState == dsEdit)
        SetState(dsBrowse);
    FCursorAt = -1;
    try {
        FillAroundCursor(row, false);
    } catch (...) {
        DataEvent(deDataSetChange);
        throw;
    }
    DataEvent(deDataSetChange);
    DoEvent(AfterDelete);
    DoEvent(AfterScroll);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    CheckNotCalculating("move the dataset");
    DataEvent(deCheckBrowseMode);
    switch (FState) {
    case dsEdit:
    case dsInsert:
        UpdateRecord();
        if (FModified)
            Post();
        else
            Cancel();
        break;
    case dsSetKey:
        SetState(dsBrowse);
        DataEvent(deDataSetChange);
        break;
    default:
        break;
    }
}

void TDataSet::SetFieldValuesFrom(const std::vector<TVariant>& values)
{
    for (size_t i = 0; i < values.size() && static_cast<int>(i) < FFields.Count(); ++i) {
        TField* field = FFields[static_cast<int>(i)];
        const TVariant& value = values[i];
        if (value.IsEmpty() || field->FieldKind() != fkData)
            continue;
        if (field->ReadOnly() && value.IsNull())
            continue;
        field->SetValue(value);
    }
}

void TDataSet::AppendRecord(const std::vector<TVariant>& values)
{
    Append();
    try {
        SetFieldValuesFrom(values);
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}

void TDataSet::InsertRecord(const std::vector<TVariant>& values)
{
    Insert();
    try {
        SetFieldValuesFrom(values);
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}
