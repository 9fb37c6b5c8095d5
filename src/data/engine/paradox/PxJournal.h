#pragma once
// The undo journal of one change to a Paradox table.  A change writes the
// data file and the blob file in many places (blocks, header, blobs) and
// then the primary index; a process stopped in the middle would leave a
// table that is neither the old one nor the new one.  So before any write
// replaces bytes of the data or blob file, the bytes it replaces (and the
// file's length before the change) are appended to a journal beside the
// table (".NAME.DB.undo"); the journal is removed once the change is
// complete.  Whoever next takes the table's write lock and finds a journal
// puts every saved byte back and cuts the files to their old lengths (the
// change never returned, so the state before it is the right one), then
// rebuilds the primary index from the blocks.
//
// Each journal entry is written with one write call and carries a
// checksum, so an entry cut short by a stop is recognised and ignored (its
// write to the table had not happened yet).

#include <cstdint>
#include <string>
#include <vector>

namespace px {

class TPxJournal {
public:
    enum TFileId : uint8_t { DataFile = 0, BlobFile = 1 };

    TPxJournal() = default;
    ~TPxJournal();
    TPxJournal(const TPxJournal&) = delete;
    TPxJournal& operator=(const TPxJournal&) = delete;

    static std::string PathFor(const std::string& tablePath);

    // Creates the journal of a change (the caller holds the table's write
    // lock, and no journal is left: see RollBack).
    void Begin(const std::string& tablePath);
    bool Active() const { return FHandle >= 0; }
    // Saves the bytes of file `file` (open as `handle`) that a write of
    // `size` bytes at `offset`, or a cut to `offset` when `size` is -1, is
    // about to replace.
    void Save(TFileId file, int handle, int64_t offset, int64_t size);
    // The change is complete: the journal is removed.
    void Finish();

    struct TRollBack {
        int Entries = 0;      // byte ranges put back
        bool Found = false;   // a journal was there
    };
    // Puts back what an unfinished change replaced, through the handles of
    // the data file and the blob file (-1 when there is none).  The journal
    // stays until Discard, so a stop in the middle of this is undone again
    // by the next one.  Raises EDBEngineError when a write fails.
    static TRollBack RollBack(const std::string& tablePath, int dataHandle, int blobHandle);
    // Removes a journal whose change has been rolled back.
    static void Discard(const std::string& tablePath);
    static bool Exists(const std::string& tablePath);

private:
    void Append(uint8_t type, const std::vector<uint8_t>& payload);

    int FHandle = -1;
    std::string FPath;
    int64_t FOriginalSize[2] = {-1, -1};
};

} // namespace px
