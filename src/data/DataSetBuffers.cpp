// The window of record buffers around the current record and the moves
// through the dataset.  The engine cursor sits on the record of buffer
// FCursorAt when that is known; reading the record after the window
// (before it) puts the cursor on the last (first) buffer first.

#include "data/DataSet.h"

#include "data/DataLink.h"
#include "data/DataSource.h"
#include "data/engine/EngineStatus.h"

#include <algorithm>

void TDataSet::ClearBuffers()
{
    FRecordCount = 0;
    FActiveRecord = 0;
    FDisplayRecord = -1;
    FCursorAt = -1;
}

void TDataSet::ResetBuffers()
{
    FBufferCount = WantedBufferCount();
    FBuffers.Reset(FBufferCount);
    ClearBuffers();
}

void TDataSet::PositionCursor(int index)
{
    if (FCursorAt == index)
        return;
    const TRecordBuffer& buffer = FBuffers[index];
    if (buffer.Flag == bfInserted || buffer.Bookmark.empty())
        throw EDatabaseError("The record has not been posted yet");
    FCursorAt = -1;
    if (!FCursor->GotoBookmark(buffer.Bookmark))
        RaiseEngineError(DBIERR_RECNOTFOUND, {"The record was deleted by another user"});
    FCursorAt = index;
}

void TDataSet::UpdateCursorPos()
{
    CheckActive();
    if (FRecordCount > 0 && CurrentBuffer().Flag != bfInserted)
        PositionCursor(FActiveRecord);
}

bool TDataSet::ReadAccepted(bool forward, TRecordBuffer& buffer)
{
    for (;;) {
        bool read = forward ? FCursor->Next(buffer.Values) : FCursor->Prior(buffer.Values);
        if (!read)
            return false;
        buffer.Bookmark = FCursor->Bookmark();
        buffer.Flag = bfCurrent;
        if (RecordAccepted(buffer))
            return true;
    }
}

bool TDataSet::FetchNext(int& shift)
{
    if (FRecordCount > 0) {
        if (FBuffers[FRecordCount - 1].Flag == bfInserted)
            return false;
        PositionCursor(FRecordCount - 1);
    }
    FCursorAt = -1;
    if (!ReadAccepted(true, FBuffers[FRecordCount]))
        return false;
    if (FRecordCount < FBufferCount) {
        FCursorAt = FRecordCount++;
    } else {
        // The first buffer is dropped: it becomes the free one.
        FBuffers.RotateForward();
        --FActiveRecord;
        ++shift;
        FCursorAt = FRecordCount - 1;
    }
    return true;
}

bool TDataSet::FetchPrior(int& shift)
{
    if (FRecordCount > 0) {
        if (FBuffers[0].Flag == bfInserted)
            return false;
        PositionCursor(0);
    }
    FCursorAt = -1;
    if (!ReadAccepted(false, FBuffers[FBufferCount]))
        return false;
    // The free last buffer becomes buffer 0; with full buffers the old last
    // record falls out of the window.
    FBuffers.RotateBackward();
    if (FRecordCount > 0)
        ++FActiveRecord;
    if (FRecordCount < FBufferCount)
        ++FRecordCount;
    --shift;
    FCursorAt = 0;
    return true;
}

void TDataSet::FillAroundCursor(int row, bool cursorOnRecord)
{
    ClearBuffers();
    TRecordBuffer& first = FBuffers[0];
    bool found = false;
    if (cursorOnRecord && FCursor->ReadCurrent(first.Values)) {
        first.Bookmark = FCursor->Bookmark();
        first.Flag = bfCurrent;
        found = RecordAccepted(first);
    }
    if (!found)
        found = ReadAccepted(true, first);
    if (!found) {
        FCursor->SetToEnd();
        found = ReadAccepted(false, first);
    }
    if (!found) {
        FBof = FEof = true;
        return;
    }
    FRecordCount = 1;
    FCursorAt = 0;
    int shift = 0;
    row = std::clamp(row, 0, FBufferCount - 1);
    while (FActiveRecord < row && FetchPrior(shift)) {
    }
    while (FRecordCount < FBufferCount && FetchNext(shift)) {
    }
    while (FRecordCount < FBufferCount && FetchPrior(shift)) {
    }
    FBof = FEof = false;
}

int TDataSet::ResizeBuffers(int count)
{
    FDisplayRecord = -1;
    int start = FActiveRecord >= count ? FActiveRecord - count + 1 : 0;
    int kept = std::min(FRecordCount - start, count);
    TRecordRing ring;
    ring.Reset(count);
    for (int i = 0; i < kept; ++i)
        ring[i].Swap(FBuffers[start + i]);
    FBuffers = std::move(ring);
    FBufferCount = count;
    FRecordCount = std::max(0, kept);
    FActiveRecord -= start;
    FCursorAt = -1;
    int shift = start;
    if (FRecordCount > 0) {
        while (FRecordCount < FBufferCount && FetchNext(shift)) {
        }
        while (FRecordCount < FBufferCount && FetchPrior(shift)) {
        }
    }
    return shift;
}

// ---- moves

void TDataSet::First()
{
    CheckActive();
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    FCursor->SetToBegin();
    FCursorAt = -1;
    FillAroundCursor(0, false);
    FBof = true;
    FEof = FRecordCount == 0;
    DataEvent(deDataSetChange);
    DoEvent(AfterScroll);
}

void TDataSet::Last()
{
    CheckActive();
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    ClearBuffers();
    FCursor->SetToEnd();
    int shift = 0;
    while (FRecordCount < FBufferCount && FetchPrior(shift)) {
    }
    FEof = true;
    FBof = FRecordCount == 0;
    DataEvent(deDataSetChange);
    DoEvent(AfterScroll);
}

int TDataSet::MoveBy(int distance)
{
    CheckActive();
    CheckBrowseMode();
    if (distance == 0 || FRecordCount == 0 || (distance > 0 && FEof) || (distance < 0 && FBof))
        return 0;
    DoEvent(BeforeScroll);
    FDisplayRecord = -1;
    bool wasBof = FBof, wasEof = FEof;
    FBof = FEof = false;
    int moved = 0;
    int shift = 0;
    try {
        while (distance > 0) {
            if (FActiveRecord < FRecordCount - 1)
                ++FActiveRecord;
            else if (FetchNext(shift))
                ++FActiveRecord;
            else {
                FEof = true;
                break;
            }
            --distance;
            ++moved;
        }
        while (distance < 0) {
            if (FActiveRecord > 0)
                --FActiveRecord;
            else if (FetchPrior(shift))
                --FActiveRecord;
            else {
                FBof = true;
                break;
            }
            ++distance;
            --moved;
        }
    } catch (...) {
        // The engine failed part way: the links see the buffers as they are.
        DataEvent(deDataSetChange);
        throw;
    }
    if (moved != 0 || FBof != wasBof || FEof != wasEof)
        DataEvent(deDataSetScroll, nullptr, shift);
    if (moved != 0)
        DoEvent(AfterScroll);
    return moved;
}

bool TDataSet::IsEmpty() const
{
    return FState == dsInactive || FRecordCount == 0;
}

bool TDataSet::IsSequenced() const
{
    return FCursor && FCursor->IsSequenced() && !FilterActive();
}

int64_t TDataSet::RecNo() const
{
    if (!Active())
        return -1;
    if (FRecordCount == 0)
        return 0;
    const TRecordBuffer* buffer = ReadBuffer();
    if (!buffer || buffer->Flag == bfInserted || FTempBuffer || FilterActive())
        return -1;
    auto* self = const_cast<TDataSet*>(this);
    int index = FDisplayRecord >= 0 && FDisplayRecord < FRecordCount ? FDisplayRecord : FActiveRecord;
    self->PositionCursor(index);
    return FCursor->RecNo();
}

void TDataSet::SetRecNo(int64_t recNo)
{
    CheckActive();
    CheckBrowseMode();
    if (FRecordCount == 0)
        return;
    if (IsSequenced() && FDisplayRecord < 0 && recNo == RecNo())
        return;
    DoEvent(BeforeScroll);
    FCursorAt = -1;
    // Without a filter the cursor's own numbering is the one RecNo reports
    // (exact when sequenced, a dBASE table's physical numbers otherwise).
    // Only a sequenced cursor is asked for its count: counting may read the
    // whole table.
    bool placed = false;
    if (IsSequenced())
        placed = FCursor->SetRecNo(std::clamp<int64_t>(recNo, 1, std::max<int64_t>(FCursor->RecordCount(), 1)));
    else if (!FilterActive())
        placed = FCursor->SetRecNo(recNo);
    if (!placed) {
        // Walk from the start, counting the records the filter accepts.
        FCursor->SetToBegin();
        TRecordBuffer scratch;
        for (int64_t n = 0; n < std::max<int64_t>(recNo, 1) && ReadAccepted(true, scratch); ++n) {
        }
    }
    FillAroundCursor((FBufferCount - 1) / 2, true);
    DataEvent(deDataSetChange);
    DoEvent(AfterScroll);
}

int64_t TDataSet::RecordCount() const
{
    if (!Active())
        return 0;
    if (!FilterActive())
        return FCursor->RecordCount();
    CheckNotCalculating("count the records");
    auto* self = const_cast<TDataSet*>(this);
    self->FCursorAt = -1;
    FCursor->SetToBegin();
    TRecordBuffer scratch;
    int64_t count = 0;
    while (self->ReadAccepted(true, scratch))
        ++count;
    return count;
}

// ---- bookmarks

std::string TDataSet::Bookmark() const
{
    const TRecordBuffer* buffer = ReadBuffer();
    if (!buffer || buffer->Flag == bfInserted)
        return std::string();
    return buffer->Bookmark;
}

void TDataSet::GotoBookmark(const std::string& bookmark)
{
    CheckActive();
    CheckBrowseMode();
    if (bookmark.empty())
        RaiseEngineError(DBIERR_RECNOTFOUND, {"The bookmark is empty"});
    DoEvent(BeforeScroll);
    FCursorAt = -1;
    if (!CursorToVisibleBookmark(bookmark))
        RaiseEngineError(DBIERR_RECNOTFOUND);
    FillAroundCursor((FBufferCount - 1) / 2, true);
    DataEvent(deDataSetChange);
    DoEvent(AfterScroll);
}

bool TDataSet::BookmarkValid(const std::string& bookmark)
{
    if (!Active() || bookmark.empty())
        return false;
    CheckNotCalculating("check a bookmark");
    FCursorAt = -1;
    return CursorToVisibleBookmark(bookmark);
}

bool TDataSet::CursorToVisibleBookmark(const std::string& bookmark)
{
    if (!FCursor->GotoBookmark(bookmark))
        return false;
    if (!FilterActive())
        return true;
    // A record the filter hides is not reachable by its bookmark either.
    TRecordBuffer scratch;
    if (!FCursor->ReadCurrent(scratch.Values))
        return false;
    scratch.Bookmark = bookmark;
    scratch.Flag = bfCurrent;
    return RecordAccepted(scratch);
}

int TDataSet::CompareBookmarks(const std::string& a, const std::string& b) const
{
    if (a.empty() || b.empty())
        return a.empty() == b.empty() ? 0 : (a.empty() ? -1 : 1);
    if (a == b)
        return 0;
    int result = FCursor ? FCursor->CompareBookmarks(a, b) : a.compare(b);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

// ---- refilling

void TDataSet::Resync()
{
    CheckActive();
    CheckNotCalculating("refill the dataset");
    if (FState == dsEdit || FState == dsInsert)
        throw EDatabaseError("Cannot refresh a record that is being edited");
    // The current record, or the nearest buffered one that still exists.
    int row = FActiveRecord;
    bool placed = false;
    for (int delta = 0; delta < FRecordCount && !placed; ++delta)
        for (int index : {FActiveRecord + delta, FActiveRecord - delta})
            if (!placed && index >= 0 && index < FRecordCount && !FBuffers[index].Bookmark.empty() &&
                FCursor->GotoBookmark(FBuffers[index].Bookmark))
                placed = true;
    if (!placed)
        FCursor->SetToBegin();
    FCursorAt = -1;
    bool wasBof = FBof && placed, wasEof = FEof && placed;
    FillAroundCursor(row, placed);
    if (FRecordCount > 0) {
        FBof = wasBof;
        FEof = wasEof;
    }
    DataEvent(deDataSetChange);
}

void TDataSet::Refresh()
{
    CheckActive();
    CheckBrowseMode();
    FCursor->Refresh();
    ++FContentVersion;
    Resync();
}
