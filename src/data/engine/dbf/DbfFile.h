#pragma once
// A table or memo file opened by the dBASE driver: positioned reads and
// writes that either complete or raise EDBEngineError, and the advisory
// byte-range locks the xBase programs use to share a table.

#include <cstdint>
#include <string>

class TDbfFile {
public:
    TDbfFile() = default;
    // Opens an existing file; raises DBIERR_TABLEREADONLY when `writable`
    // is asked for a file that cannot be written, DBIERR_OSENOENT when
    // it does not exist.
    TDbfFile(const std::string& path, bool writable);
    ~TDbfFile();
    TDbfFile(TDbfFile&& other) noexcept;
    TDbfFile& operator=(TDbfFile&& other) noexcept;
    TDbfFile(const TDbfFile&) = delete;
    TDbfFile& operator=(const TDbfFile&) = delete;

    static bool Exists(const std::string& path);
    // Opens a file for writing, creating it when it is missing.
    static TDbfFile OpenOrCreate(const std::string& path);
    // Creates a new file (fails when it exists).
    static TDbfFile Create(const std::string& path);

    bool IsOpen() const { return FHandle >= 0; }
    bool Writable() const { return FWritable; }
    const std::string& Path() const { return FPath; }

    uint64_t Size() const;
    // Reads up to `count` bytes; returns how many were there.
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) const;
    // Reads exactly `count` bytes or raises DBIERR_READERR.
    void ReadExactAt(uint64_t offset, void* buffer, size_t count) const;
    void WriteAt(uint64_t offset, const void* buffer, size_t count);
    void Truncate(uint64_t size);
    void Flush();

    // Advisory locks on single bytes far past the data (open-file-description
    // locks, so two cursors of one process exclude each other too).
    // Locks for writing when the file was opened for writing, else for reading.
    bool TryLock(uint64_t offset, uint64_t length);
    // A read lock: any number of holders, kept out only by a write lock.
    bool TryLockShared(uint64_t offset, uint64_t length);
    // Retries for a moment before giving up; false when still held by another.
    bool LockWithRetry(uint64_t offset, uint64_t length);
    void Unlock(uint64_t offset, uint64_t length);

private:
    static TDbfFile Open(const std::string& path, int flags);
    void Close() noexcept;
    bool SetLock(short type, uint64_t offset, uint64_t length);

    int FHandle = -1;
    bool FWritable = false;
    std::string FPath;
};
