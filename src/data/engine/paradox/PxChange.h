#pragma once
// One change to a table's data file, prepared in memory: the new chain,
// the new images of every block it touches, freed and new blocks, position
// labels and the new header.  Commit writes new blocks first, then the
// blocks it overwrites, then the header, and puts every old byte back if a
// write fails.

#include "data/engine/paradox/PxHeader.h"

#include <map>
#include <string>
#include <vector>

namespace px {

class TPxTable;

class TPxChange {
public:
    explicit TPxChange(TPxTable& table);

    TPxHeader Header;                  // the new header
    std::vector<uint16_t> Chain;       // the new chain order

    int RecordSize() const { return FRecordSize; }
    int Capacity() const { return FCapacity; }
    int CountOf(uint16_t block);
    uint8_t* Record(uint16_t block, int slot);
    std::vector<std::string>& Labels(uint16_t block);

    // Inserts record bytes at (chain position, slot); a full block is split
    // as the format does.  Returns the record's final position and slot.
    void Insert(int position, int slot, const std::vector<uint8_t>& record, const std::string& label,
                int& finalPosition, int& finalSlot);
    void Remove(int position, int slot);
    void Overwrite(uint16_t block, int slot, const std::vector<uint8_t>& record);
    // Chain position and slot where a key is or would go (keyed tables).
    void FindKey(const std::string& key, int& position, int& slot, bool& found);

    // Writes the change; on failure every written byte is restored and the
    // error is raised again.
    void Commit();
    // Puts back the data file as it was before Commit (after a later failure).
    void Undo();

    // Blocks whose image the change writes, with their images.
    const std::vector<uint16_t>& DirtyBlocks() const { return FDirty; }
    bool IsDirtyBlock(uint16_t block) const { return IsDirty(block); }
    const std::vector<uint8_t>& ImageOf(uint16_t block) const { return FImages.at(block); }
    const std::map<uint16_t, std::vector<std::string>>& ChangedLabels() const { return FLabels; }
    const std::vector<uint16_t>& FreedBlocks() const { return FFreed; }
    std::vector<int> ChainCounts();

private:
    std::vector<uint8_t>& Image(uint16_t block);          // loaded, not changed
    std::vector<uint8_t>& DirtyImage(uint16_t block);     // to be written
    bool IsLoaded(uint16_t block) const { return block < FLoadedFlags.size() && FLoadedFlags[block]; }
    bool IsDirty(uint16_t block) const { return block < FDirtyFlags.size() && FDirtyFlags[block]; }
    static void Flag(std::vector<uint8_t>& flags, uint16_t block);
    void SetCount(uint16_t block, int count);
    uint16_t AllocateBlock();
    void FreeBlock(uint16_t block);
    void LinkChain();

    TPxTable& FTable;
    int FRecordSize;
    int FCapacity;
    int FBlockSize;
    std::map<uint16_t, std::vector<uint8_t>> FImages;
    std::map<uint16_t, std::vector<std::string>> FLabels;
    std::vector<uint16_t> FDirty;
    std::vector<uint8_t> FLoadedFlags;   // by block number: image in FImages
    std::vector<uint8_t> FDirtyFlags;    // by block number: in FDirty
    std::vector<int> FFinalCounts;       // counts along the final chain, once linked
    std::vector<uint16_t> FOldChain;
    std::vector<uint16_t> FFreed;
    int FFileBlocks;
    int FFreeHead;
    // Undo state
    std::vector<std::pair<int64_t, std::vector<uint8_t>>> FOldBytes;
    std::vector<uint8_t> FOldHeader;
    int64_t FOldSize = 0;
    bool FWritten = false;
};

} // namespace px
