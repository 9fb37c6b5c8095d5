#include "data/engine/paradox/PxBlockMap.h"

#include <cstddef>

namespace px {

void TPxBlockMap::Assign(std::vector<uint16_t> chain, std::vector<int> counts)
{
    FChain = std::move(chain);
    FCounts = std::move(counts);
    Build();
}

void TPxBlockMap::Build()
{
    std::size_t n = FChain.size();
    FTree.assign(n + 1, 0);
    FTotal = 0;
    for (std::size_t i = 0; i < n; ++i) {
        FTree[i + 1] += FCounts[i];
        FTotal += FCounts[i];
        std::size_t parent = (i + 1) + ((i + 1) & (~(i + 1) + 1));
        if (parent <= n)
            FTree[parent] += FTree[i + 1];
    }
    FTopBit = 1;
    while (FTopBit * 2 <= static_cast<int>(n))
        FTopBit *= 2;
    uint16_t maxBlock = 0;
    for (uint16_t b : FChain)
        maxBlock = b > maxBlock ? b : maxBlock;
    FPositionOfBlock.assign(std::size_t{maxBlock} + 1, -1);
    for (std::size_t i = 0; i < n; ++i)
        FPositionOfBlock[FChain[i]] = static_cast<int>(i);
}

void TPxBlockMap::SetCount(int position, int count)
{
    int delta = count - FCounts[position];
    FCounts[position] = count;
    FTotal += delta;
    for (std::size_t i = static_cast<std::size_t>(position) + 1; i < FTree.size(); i += i & (~i + 1))
        FTree[i] += delta;
}

void TPxBlockMap::Locate(int64_t r, int& position, int& slot) const
{
    // Largest prefix of blocks whose records all lie before r.
    int pos = 0;
    int64_t remaining = r;
    for (int bit = FTopBit; bit > 0; bit >>= 1) {
        int next = pos + bit;
        if (next < static_cast<int>(FTree.size()) && FTree[next] <= remaining) {
            pos = next;
            remaining -= FTree[next];
        }
    }
    position = pos;   // 0-based position of the block holding r
    slot = static_cast<int>(remaining);
}

int64_t TPxBlockMap::FirstRecordAt(int position) const
{
    int64_t sum = 0;
    for (int i = position; i > 0; i -= i & -i)
        sum += FTree[i];
    return sum;
}

int TPxBlockMap::PositionOf(uint16_t block) const
{
    return block < FPositionOfBlock.size() ? FPositionOfBlock[block] : -1;
}

} // namespace px
