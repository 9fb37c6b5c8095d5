#include "exchange/ChunkedMemoryStream.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <cstring>

int64_t TChunkedMemoryStream::Write(const void* buffer, int64_t count)
{
    const char* bytes = static_cast<const char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const int64_t offset = FSize % ChunkSize;
        if (offset == 0 && FSize / ChunkSize == static_cast<int64_t>(FChunks.size()))
            FChunks.push_back(std::make_unique_for_overwrite<char[]>(ChunkSize));
        const int64_t part = std::min(count - done, ChunkSize - offset);
        std::memcpy(FChunks[static_cast<size_t>(FSize / ChunkSize)].get() + offset, bytes + done,
                    static_cast<size_t>(part));
        done += part;
        FSize += part;
    }
    return done;
}

int64_t TChunkedMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int64_t target = origin == soFromBeginning ? offset : origin == soFromCurrent ? FSize + offset
                                                                                       : FSize + offset;
    if (target != FSize)
        throw EStreamError("A chunked memory stream is written from start to end only");
    return FSize;
}

void TChunkedMemoryStream::SetSize(int64_t newSize)
{
    if (newSize != FSize)
        throw EStreamError("A chunked memory stream cannot change its size");
}

void TChunkedMemoryStream::SaveToStream(TStream& target) const
{
    for (int64_t at = 0; at < FSize; at += ChunkSize)
        target.WriteBuffer(FChunks[static_cast<size_t>(at / ChunkSize)].get(), std::min(ChunkSize, FSize - at));
}
