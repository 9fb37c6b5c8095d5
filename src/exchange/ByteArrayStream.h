#pragma once
// TByteArrayStream: a write-only memory stream, written from start to end,
// whose bytes are handed over as one QByteArray without a copy.  It grows
// by reallocation, which for large sizes remaps pages instead of copying
// them, so a body of hundreds of megabytes is neither moved nor zero-filled
// while it grows; it serves as the RTF exporter's body cache and as the
// output of the clipboard's exports.

#include "platform/Streams.h"

#include <QByteArray>

#include <utility>

class TByteArrayStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override { return 0; }
    int64_t Write(const void* buffer, int64_t count) override;
    // Only the position at the end can be asked for.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return FBytes.size(); }

    // Makes room for capacity bytes in all, so that writing up to there
    // moves nothing.
    void Reserve(int64_t capacity);
    // Bytes of memory held.
    int64_t Capacity() const { return FBytes.capacity(); }
    // Hands the bytes over and leaves the stream empty.
    QByteArray Take() { return std::exchange(FBytes, QByteArray()); }

private:
    QByteArray FBytes;
};
