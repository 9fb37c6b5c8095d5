#pragma once
// Byte streams: the abstract TStream with positions and buffer helpers, a
// growable TMemoryStream, and TFileStream over a POSIX file descriptor.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum TSeekOrigin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };
// Aliases of the same origins.
constexpr TSeekOrigin soBeginning = soFromBeginning;
constexpr TSeekOrigin soCurrent = soFromCurrent;
constexpr TSeekOrigin soEnd = soFromEnd;

class TStream {
public:
    virtual ~TStream() = default;

    // Transfer up to `count` bytes; return the count actually moved (0 at the end).
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(int64_t newSize) = 0;

    // All `count` bytes or EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);

    int64_t Position();
    void SetPosition(int64_t position) { Seek(position, soFromBeginning); }
    virtual int64_t Size();

    // Copies `count` bytes from the source's position; 0 copies the whole
    // source from its beginning.  Returns the count copied.
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return FSize; }

    // The bytes held; valid until the next write or resize.
    uint8_t* Memory() noexcept { return FData.get(); }
    const uint8_t* Memory() const noexcept { return FData.get(); }
    void Clear();

    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& target);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

private:
    void Reserve(int64_t size);

    // FCapacity bytes, the first FSize of them the content; growing copies
    // only the content and never clears what is written over anyway.
    std::unique_ptr<uint8_t[]> FData;
    int64_t FCapacity = 0;
    int64_t FSize = 0;
    int64_t FPosition = 0;
};

// Open modes: one access mode, or fmCreate; share modes are accepted and
// ignored (POSIX files have no mandatory sharing).
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;
constexpr unsigned fmCreate = 0xFF00;   // create or truncate, then read and write

class TFileStream : public TStream {
public:
    // EFCreateError "Cannot create file "path". <reason>" or
    // EFOpenError "Cannot open file "path". <reason>".
    TFileStream(const std::string& fileName, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;

    const std::string& FileName() const noexcept { return FFileName; }
    int Handle() const noexcept { return FHandle; }

private:
    std::string FFileName;
    int FHandle = -1;
};
