#pragma once
// The pages of a compound index (.cdx): 512-byte pages addressed by byte
// offset; a 1,024-byte header per tree (the file's tag directory and each
// tag); interior nodes of full-length keys with big-endian record numbers
// and child offsets; leaves whose keys are packed with duplicate-prefix
// and trailing-fill compression.  Decoding checks every count and length
// against the page, so a damaged page is reported, never read past.

#include <cstdint>
#include <string>
#include <string_view>
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

// (key, record) order of every tag: bytes, then record number.
inline int CompareEntries(std::string_view keyA, uint32_t recA, std::string_view keyB, uint32_t recB)
{
    int c = keyA.compare(keyB);
    if (c != 0)
        return c < 0 ? -1 : 1;
    return recA < recB ? -1 : recA > recB ? 1 : 0;
}

// A node's pairs in (key, record) order: the keys, all KeyLength bytes
// long, side by side in one buffer and their record numbers beside them,
// so a node is decoded into three buffers however many keys it holds.
struct TNode {
    uint16_t Attributes = AttrLeaf;
    uint32_t Left = NoPage;
    uint32_t Right = NoPage;
    uint16_t KeyLength = 0;
    std::string Keys;                 // Count() keys
    std::vector<uint32_t> RecNos;     // interior: the record of the child's greatest key
    std::vector<uint32_t> Children;   // interior nodes: one per pair
    uint8_t EntryBytes = 0;           // leaves: bytes per entry as found (0: none yet)
    // A leaf decoded from a page knows, for each key, the leading bytes it
    // shares with the key before it and its trailing `Fill` bytes, as the
    // encoder counts them; every change below keeps the counts up to date,
    // so encoding the leaf again compares only the keys a change touched.
    // A node built otherwise, or decoded from a page whose counts differ
    // from the encoder's, is not `Measured` and is counted when encoded.
    bool Measured = false;
    uint8_t Fill = 0;
    std::vector<uint8_t> Dups, Trails;

    TNode() = default;
    explicit TNode(uint16_t keyLength) : KeyLength(keyLength) {}

    bool IsLeaf() const { return (Attributes & AttrLeaf) != 0; }
    bool IsRoot() const { return (Attributes & AttrRoot) != 0; }

    size_t Count() const { return RecNos.size(); }
    bool Empty() const { return RecNos.empty(); }
    std::string_view Key(size_t i) const { return {Keys.data() + i * KeyLength, KeyLength}; }
    uint32_t RecNo(size_t i) const { return RecNos[i]; }
    TEntry Entry(size_t i) const { return {std::string(Key(i)), RecNos[i]}; }
    std::string_view LastKey() const { return Key(Count() - 1); }
    uint32_t LastRecNo() const { return RecNos.back(); }
    int Compare(size_t i, std::string_view key, uint32_t recNo) const
    {
        return CompareEntries(Key(i), RecNos[i], key, recNo);
    }
    // Whether pair `i` exists and is (key, recNo).
    bool Holds(size_t i, std::string_view key, uint32_t recNo) const
    {
        return i < Count() && RecNos[i] == recNo && Key(i) == key;
    }
    // The place of the first pair not before (key, recNo).
    size_t LowerBound(std::string_view key, uint32_t recNo) const;

    // Keys shorter or longer than KeyLength are padded with zeros or cut.
    void Insert(size_t at, std::string_view key, uint32_t recNo);
    void Append(std::string_view key, uint32_t recNo) { Insert(Count(), key, recNo); }
    void Set(size_t at, std::string_view key, uint32_t recNo);
    // Removes pair `at` (not its child).
    void Erase(size_t at);
    void Clear();
    // Pairs [first, last) of `from`, with their children, in place of this node's.
    void AssignRange(const TNode& from, size_t first, size_t last);
    // The pairs of `from` (a node of the same key length) after this node's.
    void AppendPairs(const TNode& from);

private:
    // Counts key `i` again (Measured nodes only).
    void Remeasure(size_t i);
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

} // namespace cdx
