#pragma once
// The advisory locks that Paradox tables opened by this program share
// (open-file-description locks on the .DB, so two cursors of one process
// exclude each other too).  They lie far beyond any table's data, so they
// never touch bytes other programs lock for their own protocols.
//
// - one byte every open holds shared (exclusive opens hold it alone);
// - one byte a writer holds for the length of one change, so that two
//   processes never interleave their writes;
// - a byte per locked record, chosen by what stays the same while the
//   record is moved by other writers' inserts, deletes and block splits:
//   its key in a keyed table, its bytes otherwise.  Two records that give
//   the same byte share a lock (too cautious, never too weak).

#include <cstdint>
#include <string_view>

namespace px {

constexpr int64_t OpenLockOffset = int64_t{1} << 42;
constexpr int64_t WriteLockOffset = (int64_t{1} << 42) + 1;

// The byte that stands for a record identified by `identity`.
int64_t RecordLockOffset(std::string_view identity);

// Sets (F_RDLCK, F_WRLCK) or clears (F_UNLCK) a one-byte lock without waiting.
bool SetByteLock(int handle, short type, int64_t offset);

// Holds the table's write lock for one change, waiting for it as long as
// another writer holds it.
class TPxWriteGuard {
public:
    explicit TPxWriteGuard(int handle);
    ~TPxWriteGuard();
    TPxWriteGuard(const TPxWriteGuard&) = delete;
    TPxWriteGuard& operator=(const TPxWriteGuard&) = delete;

private:
    int FHandle;
    bool FLocked = false;
};

} // namespace px
