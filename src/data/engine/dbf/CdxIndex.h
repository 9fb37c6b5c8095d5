#pragma once
// A table's compound index (.cdx) kept in step with its records: the tag
// directory, each tag's key and FOR expressions and key encoding, and the
// filing of one record's change in every tag (unique tags keep the lowest
// record of each key, candidate tags refuse a second record with a key
// before anything is changed).  A change is planned in memory (TPages) and
// reaches the file only at Commit, under the index's update lock, and
// bumps the file's change counter so other programs drop their caches.

#include "data/engine/dbf/CdxExpression.h"
#include "data/engine/dbf/CdxPages.h"
#include "data/engine/dbf/CdxTree.h"
#include "data/engine/dbf/DbfFile.h"
#include "data/engine/dbf/DbfHeader.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cdx {

enum class TKeyKind { Character, Numeric, Integer, Date };

struct TTag {
    std::string Name;
    uint32_t HeaderOffset = 0;
    THeader Header;
    std::unique_ptr<TExpression> Key;
    std::unique_ptr<TExpression> For;
    TKeyKind Kind = TKeyKind::Character;
    bool Nullable = false;
    uint16_t ValueLength = 0;   // key length without the NULL prefix
    uint8_t Fill = ' ';
    std::string Unsupported;    // why the engine cannot maintain the tag

    bool Unique() const { return (Header.Options & OptUnique) != 0; }
    bool Candidate() const { return (Header.Options & OptCandidate) != 0; }
};

// Calls `visit(recNo, record)` for every record of the table in order.
using TRecordVisitor = std::function<void(uint32_t, const uint8_t*)>;
using TRecordScan = std::function<void(const TRecordVisitor&)>;

class TIndex {
public:
    // Reads the header and the tag directory; raises DBIERR_INDEXCORRUPT
    // when they cannot be read.  Tags the engine cannot maintain are kept
    // with their reason.
    TIndex(const std::string& path, const TDbfHeader& table, int codePage, bool writable);

    const std::string& Path() const { return FFile.Path(); }
    const std::vector<TTag>& Tags() const { return FTags; }
    // The first reason a tag cannot be maintained; empty when all can be.
    std::string UnsupportedReason() const;

    // The key `record` files in `tag`; false when its FOR expression leaves
    // the record out.
    bool KeyOf(const TTag& tag, const uint8_t* record, uint32_t recNo, std::string& key) const;
    TTree TreeOf(const TTag& tag);
    TTree Directory();
    TPages& Pages() { return FPages; }
    TDbfFile& File() { return FFile; }

    // ---- one change: Lock, Begin, RecordChanged..., Prepare, (save the
    // pages' old bytes), Commit or Abandon, Unlock.
    bool Lock();
    void Unlock();
    void Begin();
    // Files record `recNo` going from `before` (nullptr: a new record) to
    // `after`.  Raises DBIERR_KEYVIOL before changing anything when a
    // candidate tag would hold a key twice.
    void RecordChanged(uint32_t recNo, const uint8_t* before, const uint8_t* after, const TRecordScan& scan);
    // Files `count` new records (`records`, each `length` bytes) numbered
    // from `firstRecNo`, after every record the table holds: each tag takes
    // their keys sorted, in one pass.  Raises DBIERR_KEYVIOL before
    // changing anything when a candidate tag would hold a key twice, within
    // the new records or with a stored one.
    void RecordsAdded(uint32_t firstRecNo, size_t count, const uint8_t* records, size_t length);
    void Prepare();
    void Commit();
    void Abandon();

private:
    void ReadDirectory();
    void DescribeTag(TTag& tag) const;
    std::optional<std::string> KeyOrNothing(const TTag& tag, const uint8_t* record, uint32_t recNo) const;
    uint32_t LowestRecordWithKey(const TTag& tag, const std::string& key, uint32_t except, uint32_t changed,
                                 const uint8_t* after, const TRecordScan& scan) const;

    const TDbfHeader& FTable;
    TCaseTables FCases;
    TDbfFile FFile;
    TPages FPages;
    THeader FHeader;
    std::vector<TTag> FTags;
    uint32_t FCounter = 0;
    bool FLocked = false;
};

// Encodes an evaluated key value the way `tag` stores it.
std::string EncodeKey(const TTag& tag, const TValue& value);

} // namespace cdx
