#pragma once
// Advisory locks that the processes sharing an ASCII table take on its
// schema file (open file description locks, F_OFD_SETLK), so the text file
// itself can be replaced by each write:
//   - one byte held shared by every open and exclusively by an exclusive open;
//   - one byte held for the short time a process rewrites the text file;
//   - one byte per record, chosen by a hash of the record's line, held while
//     a record is being edited.  Two records with identical lines share a
//     lock byte, which can only make a lock too cautious, never too weak.

#include <cstdint>
#include <string>
#include <string_view>

class TAsciiLocks {
public:
    // Opens the schema file (for writing when `writable`) and takes the open
    // lock; raises DBIERR_FILELOCKED when another process holds the table
    // exclusively (or holds it at all, for an exclusive open).
    TAsciiLocks(const std::string& schemaPath, bool writable, bool exclusive);
    ~TAsciiLocks();
    TAsciiLocks(const TAsciiLocks&) = delete;
    TAsciiLocks& operator=(const TAsciiLocks&) = delete;

    // The record lock of a line; false when another holder has it.
    static uint64_t RecordKey(std::string_view line);
    bool TryLockRecord(uint64_t key);
    void UnlockRecord(uint64_t key);

    // Waits a little for a writer of another process to finish; raises
    // DBIERR_FILELOCKED when it does not.
    void LockForWrite();
    void UnlockForWrite();

private:
    bool SetLock(short type, int64_t offset, bool wait);

    int FHandle = -1;
    std::string FPath;
};

// Holds the write lock for a scope.
class TAsciiWriteGuard {
public:
    explicit TAsciiWriteGuard(TAsciiLocks& locks) : FLocks(locks) { FLocks.LockForWrite(); }
    ~TAsciiWriteGuard() { FLocks.UnlockForWrite(); }
    TAsciiWriteGuard(const TAsciiWriteGuard&) = delete;
    TAsciiWriteGuard& operator=(const TAsciiWriteGuard&) = delete;

private:
    TAsciiLocks& FLocks;
};
