#include "data/engine/dbf/CdxIndex.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace cdx {

namespace {

constexpr uint64_t IndexLockOffset = 0x7FFFFFFEull;
constexpr uint8_t KnownOptions = OptUnique | OptNullable | OptCandidate | OptFor | OptCompact | OptCompound;

std::string TrimRight(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

std::string UpperAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return s;
}

void PutOrderedDouble(double value, char* out)
{
    if (value == 0)
        value = 0;   // -0.0 files as +0.0
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    bits = (bits >> 63) ? ~bits : bits | 0x8000000000000000ull;
    PutBe64(reinterpret_cast<uint8_t*>(out), bits);
}

[[noreturn]] void DirectoryDamaged(const std::string& path, const std::string& what)
{
    RaiseEngineError(DBIERR_INDEXCORRUPT, {"File: " + path, what});
}

} // namespace

std::string EncodeKey(const TTag& tag, const TValue& value)
{
    std::string key;
    key.reserve(tag.Header.KeyLength);
    if (tag.Nullable) {
        if (value.Null)
            return std::string(tag.Header.KeyLength, '\0');
        key.push_back(static_cast<char>(0x80));
    }
    switch (tag.Kind) {
    case TKeyKind::Character:
        key += value.Text.substr(0, tag.ValueLength);
        key.resize(tag.Header.KeyLength, ' ');
        break;
    case TKeyKind::Integer: {
        uint8_t bytes[4];
        PutBe32(bytes, static_cast<uint32_t>(static_cast<int64_t>(value.Number) + 0x80000000ll));
        key.append(reinterpret_cast<const char*>(bytes), 4);
        break;
    }
    case TKeyKind::Numeric: case TKeyKind::Date: {
        char bytes[8];
        PutOrderedDouble(value.Number, bytes);
        key.append(bytes, 8);
        break;
    }
    }
    return key;
}

TIndex::TIndex(const std::string& path, const TDbfHeader& table, int codePage, bool writable)
    : FTable(table), FCases(BuildCaseTables(codePage)), FFile(path, writable), FPages(FFile)
{
    if (FFile.Size() < HeaderSize || FFile.Size() % PageSize != 0)
        DirectoryDamaged(path, "The index file's size is not a whole number of pages.");
    std::string error;
    uint8_t header[HeaderSize];
    FFile.ReadExactAt(0, header, HeaderSize);
    if (!ParseHeader(header, FHeader, error))
        DirectoryDamaged(path, "The index file's header has " + error + ".");
    FCounter = ChangeCounter(header);
    ReadDirectory();
}

void TIndex::ReadDirectory()
{
    std::set<uint32_t> seen;
    std::string previous;
    Directory().ForEach([&](const TEntry& entry) {
        TTag tag;
        tag.Name = TrimRight(entry.Key);
        tag.HeaderOffset = entry.RecNo;
        if (tag.Name.empty() || tag.Name <= previous)
            DirectoryDamaged(Path(), "The tag names are not in order.");
        previous = tag.Name;
        if (tag.HeaderOffset % PageSize != 0 || tag.HeaderOffset < HeaderSize ||
            static_cast<uint64_t>(tag.HeaderOffset) + HeaderSize > FFile.Size() || !seen.insert(tag.HeaderOffset).second)
            DirectoryDamaged(Path(), "Tag " + tag.Name + " has no header in the file.");
        uint8_t bytes[HeaderSize];
        FFile.ReadExactAt(tag.HeaderOffset, bytes, HeaderSize);
        std::string error;
        if (!ParseHeader(bytes, tag.Header, error))
            DirectoryDamaged(Path(), "Tag " + tag.Name + " has " + error + ".");
        FTags.push_back(std::move(tag));
    });
    if (FTags.size() > 256)
        DirectoryDamaged(Path(), "The index has more tags than any index has.");
    for (TTag& tag : FTags)
        DescribeTag(tag);
}

void TIndex::DescribeTag(TTag& tag) const
{
    const THeader& h = tag.Header;
    auto refuse = [&](const std::string& why) { tag.Unsupported = "tag " + tag.Name + ": " + why; };
    if (!h.Collation.empty() && UpperAscii(h.Collation) != "MACHINE")
        return refuse("the collation " + h.Collation + " (only MACHINE keys can be placed exactly)");
    if (h.Options & ~KnownOptions)
        return refuse("unknown index options");
    tag.Nullable = (h.Options & OptNullable) != 0;
    if (tag.Nullable && FTable.Dialect != TDbfDialect::VisualFoxPro)
        return refuse("unknown index options");
    tag.ValueLength = static_cast<uint16_t>(h.KeyLength - (tag.Nullable ? 1 : 0));
    try {
        tag.Key = std::make_unique<TExpression>(h.KeyExpression, FTable, FCases);
        if (!h.ForExpression.empty()) {
            tag.For = std::make_unique<TExpression>(h.ForExpression, FTable, FCases);
            if (tag.For->ResultType() != 'L')
                return refuse("the FOR expression is not a condition");
        }
    } catch (const EUnsupportedExpression& e) {
        return refuse(std::string("an unsupported expression ") + e.what());
    }
    switch (tag.Key->ResultType()) {
    case 'C':
        tag.Kind = TKeyKind::Character;
        tag.Fill = ' ';
        return;
    case 'I':
        tag.Kind = tag.ValueLength == 4 ? TKeyKind::Integer : TKeyKind::Numeric;
        break;
    case 'N':
        tag.Kind = TKeyKind::Numeric;
        break;
    case 'D':
        tag.Kind = TKeyKind::Date;
        break;
    default:
        return refuse("keys of logical values");
    }
    tag.Fill = 0;
    if (tag.ValueLength != (tag.Kind == TKeyKind::Integer ? 4 : 8))
        return refuse("a key length that does not fit the expression's type");
}

std::string TIndex::UnsupportedReason() const
{
    for (const TTag& tag : FTags)
        if (!tag.Unsupported.empty())
            return tag.Unsupported;
    return {};
}

bool TIndex::KeyOf(const TTag& tag, const uint8_t* record, uint32_t recNo, std::string& key) const
{
    TRecordContext context{record, recNo};
    TValue value;
    if (tag.For) {
        tag.For->Evaluate(context, value);
        if (value.Null || !value.Logical)
            return false;
    }
    tag.Key->Evaluate(context, value);
    key = EncodeKey(tag, value);
    return true;
}

std::optional<std::string> TIndex::KeyOrNothing(const TTag& tag, const uint8_t* record, uint32_t recNo) const
{
    std::string key;
    if (!record || !KeyOf(tag, record, recNo, key))
        return std::nullopt;
    return key;
}

TTree TIndex::TreeOf(const TTag& tag) { return TTree(FPages, tag.HeaderOffset, tag.Header.KeyLength, tag.Fill); }

TTree TIndex::Directory() { return TTree(FPages, 0, FHeader.KeyLength, ' '); }

bool TIndex::Lock()
{
    if (FLocked)
        return true;
    FLocked = FFile.LockWithRetry(IndexLockOffset, 1);
    return FLocked;
}

void TIndex::Unlock()
{
    if (FLocked)
        FFile.Unlock(IndexLockOffset, 1);
    FLocked = false;
}

void TIndex::Begin()
{
    // Another program's change since ours: its pages replace the cached ones.
    uint8_t counter[4];
    FFile.ReadExactAt(8, counter, 4);
    if (Be32(counter) != FCounter || FFile.Size() != FPages.SizeBefore()) {
        FPages.Reload();
        FCounter = Be32(counter);
    }
    FPages.Abandon();
}

uint32_t TIndex::LowestRecordWithKey(const TTag& tag, const std::string& key, uint32_t except, uint32_t changed,
                                     const uint8_t* after, const TRecordScan& scan) const
{
    uint32_t found = 0;
    std::string other;
    scan([&](uint32_t recNo, const uint8_t* record) {
        if (found || recNo == except)
            return;
        if (recNo == changed)
            record = after;
        if (KeyOf(tag, record, recNo, other) && other == key)
            found = recNo;
    });
    return found;
}

void TIndex::RecordChanged(uint32_t recNo, const uint8_t* before, const uint8_t* after, const TRecordScan& scan)
{
    struct TMove {
        const TTag* Tag;
        std::optional<std::string> Old, New;
    };
    std::vector<TMove> moves;
    for (const TTag& tag : FTags) {
        TMove move{&tag, KeyOrNothing(tag, before, recNo), KeyOrNothing(tag, after, recNo)};
        if (move.Old != move.New)
            moves.push_back(std::move(move));
    }
    // Refuse first, so a violation leaves every tag as it was.
    for (const TMove& move : moves) {
        if (!move.Tag->Candidate() || !move.New)
            continue;
        if (uint32_t other = TreeOf(*move.Tag).RecordWithKey(*move.New, recNo))
            RaiseEngineError(DBIERR_KEYVIOL, {"Uniqueness of index " + move.Tag->Name + " is violated.",
                                              "Record " + std::to_string(other) + " has the same key."});
    }
    for (const TMove& move : moves) {
        TTree tree = TreeOf(*move.Tag);
        const bool unique = move.Tag->Unique() && !move.Tag->Candidate();
        if (move.Old) {
            if (!unique) {
                tree.Remove(*move.Old, recNo);
            } else if (tree.RecordWithKey(*move.Old) == recNo) {
                // The record that held the key goes: the next lowest takes it.
                tree.Remove(*move.Old, recNo);
                if (uint32_t next = LowestRecordWithKey(*move.Tag, *move.Old, recNo, recNo, after, scan))
                    tree.Insert(*move.Old, next);
            }
        }
        if (move.New) {
            if (!unique) {
                tree.Insert(*move.New, recNo);
                continue;
            }
            uint32_t holder = tree.RecordWithKey(*move.New);
            if (holder == 0) {
                tree.Insert(*move.New, recNo);
            } else if (recNo < holder) {
                tree.Remove(*move.New, holder);
                tree.Insert(*move.New, recNo);
            }
        }
    }
}

void TIndex::Prepare()
{
    if (!FPages.Changed())
        return;
    SetChangeCounter(FPages.Write(0), FCounter + 1);
}

void TIndex::Commit()
{
    if (!FPages.Changed())
        return;
    const uint32_t counter = ChangeCounter(FPages.Read(0));
    FPages.Commit();
    FCounter = counter;
}

void TIndex::Abandon() { FPages.Abandon(); }

} // namespace cdx
