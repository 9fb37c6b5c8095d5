#pragma once
// The pages of a compound index (.cdx): 512-byte pages addressed by byte
// offset; a 1,024-byte header per tree (the file's tag directory and each
// tag); interior nodes of full-length keys with big-endian record numbers
// and child offsets; leaves whose keys are packed with duplicate-prefix
// and trailing-fill compression.  Decoding checks every count and length
// against the page, so a damaged page is reported, never read past.

#include <cstdint>
#include <string>
#include <vector>

namespace cdx {

constexpr uint32_t PageSize = 512;
constexpr uint32_t HeaderSize = 1024;
constexpr uint32_t NoPage = 0xFFFFFFFFu;
constexpr uint16_t MaxKeyLength = 240;
constexpr uint32_t LeafSpace = 488;
constexpr uint32_t InteriorSpace = 500;

enum TOptions : uint8_t {
    OptUnique = 0x01,
    OptNullable = 0x02,
    OptCandidate = 0x04,
    OptFor = 0x08,
    OptBitVector = 0x10,
    OptCompact = 0x20,
    OptCompound = 0x40,
    OptStructural = 0x80
};

enum TAttributes : uint16_t { AttrRoot = 0x01, AttrLeaf = 0x02 };

struct THeader {
    uint32_t Root = 0;
    uint32_t FreeList = 0;
    uint16_t KeyLength = 0;
    uint8_t Options = 0;
    bool Descending = false;
    std::string Collation;     // blank for MACHINE
    std::string KeyExpression;
    std::string ForExpression;
};

// Parses a 1,024-byte header; false with `error` set when it is not one.
bool ParseHeader(const uint8_t* bytes, THeader& header, std::string& error);
// Writes a tag header for a new tag into `bytes` (1,024 bytes).
void FormatTagHeader(const THeader& header, uint8_t* bytes);

// The change counter other programs watch (file header offset 8, big-endian).
uint32_t ChangeCounter(const uint8_t* fileHeader);
void SetChangeCounter(uint8_t* fileHeader, uint32_t value);

struct TEntry {
    std::string Key;       // KeyLength bytes
    uint32_t RecNo = 0;    // interior: the record of the child's greatest key
};

struct TNode {
    uint16_t Attributes = AttrLeaf;
    uint32_t Left = NoPage;
    uint32_t Right = NoPage;
    std::vector<TEntry> Entries;
    std::vector<uint32_t> Children;   // interior nodes: one per entry
    uint8_t EntryBytes = 0;           // leaves: bytes per entry as found (0: none yet)

    bool IsLeaf() const { return (Attributes & AttrLeaf) != 0; }
    bool IsRoot() const { return (Attributes & AttrRoot) != 0; }
};

// Decodes a node; false with `error` set when the page is damaged.
bool DecodeNode(const uint8_t* page, uint16_t keyLength, uint8_t fill, TNode& node, std::string& error);
// Encodes a node into a 512-byte page; false when its keys do not fit.
bool EncodeNode(const TNode& node, uint16_t keyLength, uint8_t fill, uint8_t* page);
// The running size of a leaf filled key by key in order: the bytes
// EncodeNode will need for it (a new leaf, so the usual entry width).
class TLeafSizer {
public:
    TLeafSizer(uint16_t keyLength, uint8_t fill) : FKeyLength(keyLength), FFill(fill) {}
    // The new key bytes the entry takes after the previous one, and whether
    // it fits with them.
    bool Fits(const TEntry& entry, size_t& fresh) const;
    void Add(const TEntry& entry, size_t fresh);
    void Clear();

private:
    size_t FreshBytes(const TEntry& entry, size_t trail) const;

    uint16_t FKeyLength;
    uint8_t FFill;
    size_t FCount = 0;
    size_t FKeyBytes = 0;
    uint32_t FLargest = 0;
    std::string FPrevious;   // empty before the first key
    size_t FPreviousTrail = 0;
};

// Interior entries per page for a key length.
size_t InteriorCapacity(uint16_t keyLength);

// (key, record) order of every tag: bytes, then record number.
inline int CompareEntries(const std::string& keyA, uint32_t recA, const std::string& keyB, uint32_t recB)
{
    int c = keyA.compare(keyB);
    if (c != 0)
        return c < 0 ? -1 : 1;
    return recA < recB ? -1 : recA > recB ? 1 : 0;
}

} // namespace cdx
