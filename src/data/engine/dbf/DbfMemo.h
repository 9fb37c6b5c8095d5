#pragma once
// The memo file beside a table: dBASE III .dbt (512-byte blocks ended by
// 0x1A), dBASE IV/7 .dbt (blocks with a length header, block size in the
// file header) and FoxPro .fpt (big-endian, typed blocks).  New values are
// always appended; the blocks of replaced values are left in place, as the
// original programs leave them, so a record never points at data that is
// being rewritten.

#include "data/engine/dbf/DbfFile.h"
#include "data/engine/dbf/DbfHeader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TDbfMemoFile {
public:
    // Opens an existing memo file; for a dBASE III table the file itself
    // tells whether its blocks are in the dBASE III or IV layout.
    TDbfMemoFile(const std::string& path, TDbfMemoKind kind, bool writable);

    // Creates an empty memo file for a table named `tableBaseName`.
    static void Create(const std::string& path, TDbfMemoKind kind, const std::string& tableBaseName);

    TDbfMemoKind Kind() const { return FKind; }
    uint32_t BlockSize() const { return FBlockSize; }
    const std::string& Path() const { return FFile.Path(); }
    TDbfFile& File() { return FFile; }

    // Reads the memo starting at `block`; false when the pointer or the
    // block header is damaged (the caller shows the value as empty).
    bool Read(uint32_t block, std::string& data) const;

    // A snapshot of what an append may change, to undo a failed post.
    struct TState {
        uint64_t Size = 0;
        std::vector<uint8_t> Header;
    };
    TState SaveState() const;
    void RestoreState(const TState& state);

    // Refuses data the format cannot hold (a 0x1A byte in a dBASE III memo).
    void CheckStorable(std::string_view data, const std::string& fieldName) const;
    // Writes `data` in new blocks at the end, then the header that accounts
    // for them; returns the first block.  `fptType`: 0 picture, 1 text, 2 object.
    uint32_t Append(std::string_view data, uint32_t fptType);

    // The lock that guards block allocation among cooperating programs.
    bool LockAllocation();
    void UnlockAllocation();
    void Reload();

private:
    void ReadHeader();
    uint32_t EndBlock() const;

    TDbfFile FFile;
    TDbfMemoKind FKind;
    uint32_t FBlockSize = 512;
    uint32_t FNextFree = 1;
};
