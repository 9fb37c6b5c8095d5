#pragma once
// The record buffers of a dataset: a ring of Capacity + 1 buffers addressed
// by logical index 0 .. Capacity.  Buffers 0 .. RecordCount-1 hold the
// records around the current one; the buffers after them are free, so a
// read always has a free buffer at logical index Capacity to land in.
// Shifting the window by one record is a rotation of the ring: no buffer is
// copied or allocated.

#include "data/engine/EngineCursor.h"

#include <string>
#include <utility>
#include <vector>

enum TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };

struct TRecordBuffer {
    TEngineRecord Values;           // the engine's columns
    std::vector<TVariant> Calc;     // calculated and lookup fields
    std::string Bookmark;           // empty for a record not yet posted
    TBookmarkFlag Flag = bfCurrent;

    void Swap(TRecordBuffer& other) noexcept
    {
        Values.swap(other.Values);
        Calc.swap(other.Calc);
        Bookmark.swap(other.Bookmark);
        std::swap(Flag, other.Flag);
    }
};

class TRecordRing {
public:
    // Discards every buffer and makes room for `capacity` records.
    void Reset(int capacity)
    {
        FSlots.clear();
        FSlots.resize(static_cast<size_t>(capacity) + 1);
        FStart = 0;
    }
    int Capacity() const { return static_cast<int>(FSlots.size()) - 1; }

    TRecordBuffer& operator[](int logical) { return FSlots[Slot(logical)]; }
    const TRecordBuffer& operator[](int logical) const { return FSlots[Slot(logical)]; }

    // Buffer 1 becomes buffer 0 ...; buffer 0 becomes the last (free) one.
    void RotateForward() { FStart = FStart + 1 == FSlots.size() ? 0 : FStart + 1; }
    // The last buffer becomes buffer 0; every other moves up by one.
    void RotateBackward() { FStart = FStart == 0 ? FSlots.size() - 1 : FStart - 1; }

    // Moves buffer `from` to index `to`, shifting the buffers in between.
    void Move(int from, int to)
    {
        for (; from > to; --from)
            (*this)[from].Swap((*this)[from - 1]);
        for (; from < to; ++from)
            (*this)[from].Swap((*this)[from + 1]);
    }

private:
    size_t Slot(int logical) const
    {
        size_t slot = FStart + static_cast<size_t>(logical);
        return slot >= FSlots.size() ? slot - FSlots.size() : slot;
    }

    std::vector<TRecordBuffer> FSlots = std::vector<TRecordBuffer>(1);
    size_t FStart = 0;
};
