// Searching a Paradox table without reading all of it, and noticing other
// programs' changes.  A keyed table keeps its records in the order of
// their keys (the data blocks' chain is the order the primary index
// describes), so the records whose first key field could match a search
// stand together and the first of them is found by bisection: a few block
// reads, and the first match there is the first in the table's order, as
// a walk finds it.

#include "data/engine/paradox/ParadoxCursor.h"

#include "data/engine/CaseVariants.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/FileStamp.h"

#include <string_view>

namespace {

// Types whose stored bytes order as their values do (blank first).
bool IsOrderedValueType(uint8_t type)
{
    switch (type) {
    case px::ftDate: case px::ftShort: case px::ftLong: case px::ftMoney: case px::ftNumber: case px::ftTime:
    case px::ftTimestamp: case px::ftAutoIncrement:
        return true;
    default:
        return false;
    }
}

} // namespace

uint64_t TParadoxCursor::ChangeStamp()
{
    // A writer bumps the header's change counter and update time and the
    // record count; the file's times catch a writer that does not.
    std::vector<uint8_t> header(FTable->Header().Raw.size(), 0);
    FTable->DataFile().ReadAt(0, header.data(), header.size());
    uint64_t stamp = 14695981039346656037ull;
    const auto mix = [&stamp](uint64_t value) { stamp = (stamp ^ value) * 1099511628211ull; };
    for (uint8_t byte : header)
        mix(byte);
    mix(static_cast<uint64_t>(FTable->DataFile().Size()));
    mix(FileStateStamp(FTable->Path()));
    return stamp;
}

TEngineCursor::TIndexedFind TParadoxCursor::FindThroughIndex(const TEngineSearch& search)
{
    if (search.Terms.size() != 1 || !FTable->KeyBookmarks())
        return TIndexedFind::NoIndex;
    const TEngineSearchTerm& term = search.Terms.front();
    const px::TPxField& field = FTable->Header().Fields.front();
    if (term.Column != 0 || term.Key.IsNull())
        return TIndexedFind::NoIndex;
    // Alpha keys are ordered by their bytes: a search that ignores case
    // can use them only for a key that has no case.
    std::string encoded;
    if (term.Text) {
        const std::string key = term.Key.AsString();
        if (field.Type != px::ftAlpha || (search.CaseInsensitive && !IsCaseBlindText(key)))
            return TIndexedFind::NoIndex;
        try {
            encoded = FTable->CodePage().FromUtf8(key);
        } catch (const EDBEngineError&) {
            return TIndexedFind::NoIndex;
        }
    } else if (!IsOrderedValueType(field.Type)) {
        return TIndexedFind::NoIndex;
    }
    try {
        Resynchronise(false, false);
    } catch (const EDBEngineError& e) {
        if (e.ErrorCode() != DBIERR_RECNOTFOUND)
            throw;
    }
    // How record r's first field stands to the key: <0 before, 0 within the range, >0 after.
    const auto place = [&](int64_t r) {
        const uint8_t* record = FTable->RecordBytes(r);
        if (term.Text) {
            const std::string_view bytes(reinterpret_cast<const char*>(record) + field.Offset,
                                         static_cast<size_t>(field.Width));
            if (bytes.substr(0, encoded.size()) == encoded)
                return 0;
            return bytes.compare(encoded) < 0 ? -1 : 1;
        }
        const TVariant value = FTable->Codec().DecodeField(record, 0);
        return value.IsNull() ? -1 : TVariant::Compare(value, term.Key);
    };
    const int64_t count = FTable->RecordCount();
    int64_t lo = 0, hi = count;
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (place(mid) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (int64_t r = lo; r < count && place(r) == 0; ++r) {
        if (SearchTermMatches(search, term, FTable->Codec().DecodeField(FTable->RecordBytes(r), 0))) {
            FIndex = r;
            FOnRecord = true;
            return TIndexedFind::Found;
        }
    }
    return TIndexedFind::NotFound;
}
