#pragma once
// The data blocks of a table in chain order with their record counts, and
// a Fenwick tree over the counts so that the block holding record number r
// and the number of the first record of a block are found in O(log n).

#include <cstdint>
#include <vector>

namespace px {

class TPxBlockMap {
public:
    void Assign(std::vector<uint16_t> chain, std::vector<int> counts);
    // Changes one block's count in O(log n) (the chain itself unchanged).
    void SetCount(int position, int count);

    int BlockCount() const { return static_cast<int>(FChain.size()); }
    int64_t RecordCount() const { return FTotal; }
    uint16_t BlockAt(int position) const { return FChain[position]; }
    int CountAt(int position) const { return FCounts[position]; }
    const std::vector<uint16_t>& Chain() const { return FChain; }
    const std::vector<int>& Counts() const { return FCounts; }

    // Chain position and slot of record r (0-based, r < RecordCount()).
    void Locate(int64_t r, int& position, int& slot) const;
    // Number (0-based) of the first record of the block at `position`.
    int64_t FirstRecordAt(int position) const;
    // Chain position of a block number, -1 when it is not in the chain.
    int PositionOf(uint16_t block) const;

private:
    void Build();

    std::vector<uint16_t> FChain;
    std::vector<int> FCounts;
    std::vector<int64_t> FTree;        // Fenwick tree, 1-based
    std::vector<int> FPositionOfBlock; // indexed by block number
    int64_t FTotal = 0;
    int FTopBit = 0;
};

} // namespace px
