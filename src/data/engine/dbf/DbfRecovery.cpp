// An append that another process left unfinished: it wrote whole records
// after the counted ones but was stopped before it wrote the new count.
// Every program that shares the table reads by the count, so for them the
// append never happened; the post never returned either.  The engine puts
// the file back as it stood before (the records cut off, the end marker
// written) when it may write the table, and otherwise opens it read-only
// and says why.

#include "data/engine/dbf/DbfCursor.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineLog.h"
#include "data/engine/EngineStatus.h"

#include <cstring>

namespace {

std::string RecordsText(uint32_t n)
{
    return std::to_string(n) + (n == 1 ? " record" : " records");
}

} // namespace

// Every whole record past the count starts with a record's flag byte (blank
// or '*'), and what follows them is at most an end marker and slack: the
// shape an interrupted append leaves.
bool TDbfCursor::TrailingBytesAreRecords(uint64_t fileSize) const
{
    const uint64_t end = FHeader.RecordOffset(FHeader.RecordCount);
    const uint32_t whole = DbfAvailableRecords(FHeader, fileSize) - FHeader.RecordCount;
    // A post appends one record: a stopped one leaves exactly one behind
    // the count.  More than that is a count gone wrong (damage), and those
    // records are the user's data: they are never cut.
    if (whole != 1)
        return false;
    for (uint32_t i = 0; i < whole; ++i) {
        uint8_t flag = 0;
        FFile.ReadExactAt(end + uint64_t(i) * FHeader.RecordLength, &flag, 1);
        if (flag != ' ' && flag != '*')
            return false;
    }
    const uint64_t rest = FHeader.RecordOffset(FHeader.RecordCount + uint64_t(whole));
    uint8_t next = 0x1A;
    FFile.ReadAt(rest, &next, 1);
    return rest == fileSize || next == 0x1A;
}

void TDbfCursor::HandleUnfinishedAppend()
{
    const uint32_t found = DbfAvailableRecords(FHeader, FFile.Size()) - FHeader.RecordCount;
    const std::string what = "An append that did not finish left " + RecordsText(found) +
                             " after the table's last record";
    if (FReadOnlyReason.empty() && FFile.Writable()) {
        uint32_t removed = 0;
        if (RemoveUnfinishedAppend(removed)) {
            if (removed > 0) {
                FRecoveryNote = "An append that did not finish left " + RecordsText(removed) +
                                " after the table's last record; the table was put back as it stood before.";
                EngineLog(FPath + ": " + FRecoveryNote);
            }
            return;
        }
        // Another process holds the header: its append is under way, and
        // the records are its own.
        return;
    }
    // A post of an indexed table that waits to be undone says more.
    if (FRecoveryNote.empty())
        FRecoveryNote = what + "; they are not shown. They stay until the table is opened for writing: " +
                        (FReadOnlyReason.empty() ? std::string("The file cannot be written.") : FReadOnlyReason);
    if (FReadOnlyReason.empty())
        FReadOnlyReason = what + ".";
}

// Under the header lock, so that no append of another process is cut:
// re-reads the count and cuts the file after the counted records.
bool TDbfCursor::RemoveUnfinishedAppend(uint32_t& removed)
{
    if (!TryLockHeader())
        return false;
    struct TUnlock {
        TDbfCursor& Cursor;
        ~TUnlock() { Cursor.UnlockHeader(); }
    } unlock{*this};

    uint8_t prefix[DbfPrefixSize] = {};
    FFile.ReadExactAt(0, prefix, sizeof prefix);
    const uint32_t count = Le32(prefix + 4);
    const uint64_t size = FFile.Size();
    const uint32_t avail = DbfAvailableRecords(FHeader, size);
    FHeader.RecordCount = count;
    if (count >= avail || !TrailingBytesAreRecords(size)) {
        removed = 0;
        return true;
    }
    removed = avail - count;
    // Cut first, then the end marker: stopped between the two, the file
    // ends after its last record, which every reader accepts.
    const uint64_t end = FHeader.RecordOffset(count);
    FFile.Truncate(end);
    const uint8_t eof = 0x1A;
    FFile.WriteAt(end, &eof, 1);
    return true;
}
