#include "data/engine/dbf/DbfTagSearch.h"

#include "data/engine/CaseVariants.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/FileStamp.h"
#include "data/engine/dbf/CdxFoldAgreement.h"
#include "data/engine/dbf/CdxTagRange.h"
#include "data/engine/dbf/DbfCursor.h"

#include <algorithm>
#include <cstring>

namespace {

// Pairs of the tag read between two stretches of the walk, and records walked in each.
constexpr int RangeStretch = 256;
constexpr int WalkStretch = 32;

std::string Normalised(const std::string& expression)
{
    std::string out;
    for (char c : expression)
        if (c != ' ')
            out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return out;
}

bool StartsWith(const std::string& key, const std::string& prefix)
{
    return key.size() >= prefix.size() && key.compare(0, prefix.size(), prefix) == 0;
}

// Field types whose stored text the tag's key is made of, and those whose value it is.
bool IsTextKeyType(const TDbfField& field) { return field.Type == 'C' && !field.Binary; }
bool IsValueKeyType(const TDbfField& field) { return std::strchr("NFIDBY", field.Type) != nullptr; }

} // namespace

TDbfTagSearch::TDbfTagSearch(TDbfCursor& table, const TEngineSearch& search) : FTable(table), FSearch(search)
{
}

const cdx::TTag* TDbfTagSearch::ChooseTag() const
{
    const TEngineSearchTerm& term = FSearch.Terms.front();
    const std::string field = Normalised(FField->Name);
    const std::string keyText = term.Text ? term.Key.AsString() : std::string();
    const bool caseBlind = term.Text && IsCaseBlindText(keyText);
    const cdx::TTag* plain = nullptr;
    const cdx::TTag* upper = nullptr;
    for (const cdx::TTag& tag : FTable.FIndex->Tags()) {
        // A FOR condition leaves records out, and so does a unique tag (all
        // but the lowest record of each key): neither lists every record.
        if (!tag.Unsupported.empty() || tag.For || !tag.Key || (tag.Unique() && !tag.Candidate()))
            continue;
        const std::string expression = Normalised(tag.Key->Text());
        if (expression == field && !plain)
            plain = &tag;
        else if (term.Text && expression == "UPPER(" + field + ")" && !upper)
            upper = &tag;
    }
    // A search that regards case finds its records under the key they
    // have, or under its upper case; one that ignores case finds them
    // under the upper case where that agrees with case folding, or
    // anywhere when the key has no case to ignore.
    if (!FSearch.CaseInsensitive || !term.Text || caseBlind)
        return plain ? plain : upper;
    if (upper && cdx::UpperKeysFindFoldedText(cdx::BuildCaseTables(FTable.CodePage()), *FTable.FCodePage, keyText))
        return upper;
    return nullptr;
}

bool TDbfTagSearch::KeyPrefix(const cdx::TTag& tag, std::string& prefix) const
{
    const TEngineSearchTerm& term = FSearch.Terms.front();
    const TDbfHeader& header = FTable.FHeader;
    // A record holding just the key, whose key the tag's own expression makes.
    std::vector<uint8_t> record(header.RecordLength, ' ');
    if (header.NullFlagsField >= 0) {
        const TDbfField& flags = header.Fields[static_cast<size_t>(header.NullFlagsField)];
        std::memset(record.data() + flags.Offset, 0, static_cast<size_t>(flags.Length));
    }
    size_t keyBytes = tag.ValueLength;
    if (term.Text) {
        // Values are compared without the field's trailing blanks, which a
        // writer may have filled with spaces or zero bytes: the range is
        // every key that starts with the searched text.
        const std::string bytes = FTable.FCodePage->FromUtf8(term.Key.AsString());
        if (bytes.size() > static_cast<size_t>(FField->Length))
            return false;
        std::memcpy(record.data() + FField->Offset, bytes.data(), bytes.size());
        keyBytes = bytes.size();
    } else {
        FTable.FValues->Encode(*FField, term.Key, record.data());
    }
    std::string key;
    if (!FTable.FIndex->KeyOf(tag, record.data(), 0, key))
        return false;
    prefix = key.substr(0, key.size() - tag.ValueLength + keyBytes);
    return true;
}

bool TDbfTagSearch::TagCoversTable(const cdx::TTag& tag)
{
    cdx::TTagRange range(FTable.FIndex->Pages(), tag.HeaderOffset, tag.Header.KeyLength, tag.Fill);
    std::vector<uint8_t> raw;
    std::string key;
    for (uint32_t recNo : {1u, FTable.FCount}) {
        if (!FTable.ReadRecordFromDisk(recNo - 1, raw) || !FTable.FIndex->KeyOf(tag, raw.data(), recNo, key) ||
            !range.Holds(key, recNo))
            return false;
    }
    return true;
}

bool TDbfTagSearch::Matches(const uint8_t* raw) const
{
    if (raw[0] == '*')
        return false;
    TVariant value;
    FTable.FValues->Decode(*FField, raw, value);
    return SearchTermMatches(FSearch, FSearch.Terms.front(), value);
}

TDbfTagSearch::TAnswer TDbfTagSearch::Found(uint32_t recNo)
{
    FFound = recNo;
    return TAnswer::Found;
}

TDbfTagSearch::TAnswer TDbfTagSearch::FirstCandidate(const cdx::TTag& tag, const std::string& prefix,
                                                     std::vector<uint32_t>& candidates, uint32_t walked)
{
    std::sort(candidates.begin(), candidates.end());
    std::vector<uint8_t> raw;
    std::string key;
    for (uint32_t recNo : candidates) {
        if (recNo <= walked)
            continue;
        if (!FTable.ReadRecordFromDisk(recNo - 1, raw))
            return TAnswer::NoIndex;
        if (!FTable.FIndex->KeyOf(tag, raw.data(), recNo, key) || !StartsWith(key, prefix))
            return TAnswer::NoIndex;   // the record changed without its key: the index is out of date
        if (Matches(raw.data()))
            return Found(recNo);
    }
    return TAnswer::NotFound;
}

TDbfTagSearch::TAnswer TDbfTagSearch::SearchRange(const cdx::TTag& tag, const std::string& prefix)
{
    cdx::TTagRange range(FTable.FIndex->Pages(), tag.HeaderOffset, tag.Header.KeyLength, tag.Fill);
    range.Seek(prefix);
    const uint32_t count = FTable.FCount;
    std::vector<uint32_t> candidates;
    uint32_t walked = 0;   // records 1..walked hold no match
    cdx::TEntry entry;
    for (;;) {
        for (int n = 0; n < RangeStretch; ++n) {
            if (!range.Next(entry))
                return FirstCandidate(tag, prefix, candidates, walked);
            if (entry.RecNo > walked && entry.RecNo <= count)
                candidates.push_back(entry.RecNo);
        }
        for (int n = 0; n < WalkStretch; ++n) {
            if (walked >= count)
                return TAnswer::NotFound;
            const uint8_t* raw = FTable.CachedRecord(walked, true);
            if (!raw)
                return TAnswer::NoIndex;   // the file is shorter than its header says
            ++walked;
            if (Matches(raw))
                return Found(walked);
        }
    }
}

TDbfTagSearch::TAnswer TDbfTagSearch::Run()
{
    if (!FTable.FIndex || !FTable.FIndexProblem.empty() || FSearch.Terms.size() != 1)
        return TAnswer::NoIndex;
    const TEngineSearchTerm& term = FSearch.Terms.front();
    if (term.Key.IsNull() || term.Column < 0 || static_cast<size_t>(term.Column) >= FTable.FVisible.size())
        return TAnswer::NoIndex;
    FField = &FTable.FHeader.Fields[FTable.FVisible[static_cast<size_t>(term.Column)]];
    if (term.Text ? !IsTextKeyType(*FField) : !IsValueKeyType(*FField))
        return TAnswer::NoIndex;
    const cdx::TTag* tag = ChooseTag();
    if (!tag)
        return TAnswer::NoIndex;
    try {
        // Pages another program changed since they were read are read afresh.
        FTable.FIndex->Begin();
        std::string prefix;
        if (!KeyPrefix(*tag, prefix))
            return TAnswer::NotFound;
        if (FTable.FCount == 0)
            return TAnswer::NotFound;
        if (!TagCoversTable(*tag))
            return TAnswer::NoIndex;
        return SearchRange(*tag, prefix);
    } catch (const EDBEngineError&) {
        // A key that cannot be stored in the field, or a damaged page: the
        // caller answers the search from the records.
        return TAnswer::NoIndex;
    }
}

TEngineCursor::TIndexedFind TDbfCursor::FindThroughIndex(const TEngineSearch& search)
{
    TDbfTagSearch tagSearch(*this, search);
    const TIndexedFind answer = tagSearch.Run();
    if (answer == TIndexedFind::Found && !SetRecNo(tagSearch.FoundRecNo()))
        return TIndexedFind::NoIndex;
    return answer;
}

uint64_t TDbfCursor::IndexStamp()
{
    return FIndex ? FileStateStamp(FIndex->Path()) : 0;
}
