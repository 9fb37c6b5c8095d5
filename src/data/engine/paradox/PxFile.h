#pragma once
// A file of the table's family opened for positioned reads and writes that
// raise EDBEngineError on failure.

#include "data/engine/paradox/PxJournal.h"

#include <cstdint>
#include <string>

namespace px {

class TPxFile {
public:
    TPxFile() = default;
    ~TPxFile();
    TPxFile(const TPxFile&) = delete;
    TPxFile& operator=(const TPxFile&) = delete;

    // Opens an existing file; false (errno kept) when it cannot be opened.
    bool Open(const std::string& path, bool writable);
    // Creates (truncates) a file for writing.
    void Create(const std::string& path);
    void Close();
    bool IsOpen() const { return FFd >= 0; }
    int Handle() const { return FFd; }
    const std::string& Path() const { return FPath; }

    int64_t Size() const;
    // Reads exactly `size` bytes; false when the file ends before.
    bool ReadAt(int64_t offset, void* buffer, size_t size) const;
    void WriteAt(int64_t offset, const void* buffer, size_t size);
    void Truncate(int64_t size);
    void Sync();
    // While a journal is attached, every write and cut first saves the
    // bytes it replaces there (nullptr detaches).
    void AttachJournal(TPxJournal* journal, TPxJournal::TFileId id)
    {
        FJournal = journal;
        FJournalId = id;
    }

private:
    TPxJournal* FJournal = nullptr;
    TPxJournal::TFileId FJournalId = TPxJournal::DataFile;
    int FFd = -1;
    std::string FPath;
};

} // namespace px
