#pragma once
// TChunkedMemoryStream: a write-only memory stream that grows in chunks,
// so that a large body is never moved or zero-filled while it grows (the
// RTF exporter's body cache, which may run to hundreds of megabytes).

#include "platform/Streams.h"

#include <memory>
#include <vector>

class TChunkedMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override { return 0; }
    int64_t Write(const void* buffer, int64_t count) override;
    // Only the position at the end can be asked for.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return FSize; }

    // Writes everything held to the stream.
    void SaveToStream(TStream& target) const;
    // Bytes of memory held (the chunks' capacity).
    int64_t Capacity() const { return static_cast<int64_t>(FChunks.size()) * ChunkSize; }

    static constexpr int64_t ChunkSize = 1 << 20;

private:
    std::vector<std::unique_ptr<char[]>> FChunks;
    int64_t FSize = 0;
};
