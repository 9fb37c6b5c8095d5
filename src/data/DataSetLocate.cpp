// Locate and Lookup: the first record, in the dataset's order and through
// its filter, whose key fields hold the given values.  Without a filter,
// when every key field is a column of the table, the engine cursor may
// answer from its own stored values; otherwise the records are read one by
// one.  Both ways apply the same matching rules (EngineSearch.h).

#include "data/DataSet.h"

namespace {

bool IsTextField(const TField& field)
{
    return IsStringType(field.DataType()) || field.DataType() == ftMemo || field.DataType() == ftFmtMemo;
}

// A field whose value is the engine's stored value as it stands, so the
// engine compares what the field would show.
bool IsEngineColumn(const TField& field, size_t columns)
{
    return field.FieldKind() == fkData && field.FieldNo() >= 0 && static_cast<size_t>(field.FieldNo()) < columns &&
           field.DataType() != ftFMTBcd;
}

} // namespace

struct TDataSet::TKeyMatcher {
    std::vector<TField*> Fields;
    TEngineSearch Search;
    bool EngineColumns = true;   // every key field is a column the engine can search

    TKeyMatcher(const TDataSet& dataSet, const std::string& keyFields, const TVariant& keyValues,
                TLocateOptions options)
    {
        dataSet.GetFieldList(Fields, keyFields);
        if (Fields.empty())
            throw EDatabaseError("No key fields given to search by");
        std::vector<TVariant> keys;
        if (Fields.size() == 1 && !(keyValues.IsArray() && keyValues.ArrayLength() == 1)) {
            keys.push_back(keyValues);
        } else {
            if (!keyValues.IsArray() || keyValues.ArrayLength() != static_cast<int>(Fields.size()))
                throw EDatabaseError(std::to_string(Fields.size()) +
                                     " key fields need an array of as many key values");
            keys = keyValues.AsArray();
        }
        Search.CaseInsensitive = options.Contains(loCaseInsensitive);
        Search.Partial = options.Contains(loPartialKey);
        const size_t columns = dataSet.FCursor ? dataSet.FCursor->FieldDefs().size() : 0;
        for (size_t i = 0; i < Fields.size(); ++i) {
            const TField& field = *Fields[i];
            TEngineSearchTerm term;
            term.Column = field.FieldNo();
            term.Text = IsTextField(field);
            const TVariant& key = keys[i];
            if (key.IsNullOrEmpty())
                term.Key = TVariant::Null();
            else if (term.Text)
                term.Key = TVariant(key.AsString());
            else
                term.Key = field.ConvertToStored(key);
            Search.Terms.push_back(std::move(term));
            EngineColumns = EngineColumns && IsEngineColumn(field, columns);
        }
    }

    // Reads the fields of the dataset's record being searched.
    bool Matches() const
    {
        for (size_t i = 0; i < Fields.size(); ++i)
            if (!SearchTermMatches(Search, Search.Terms[i], Fields[i]->Value()))
                return false;
        return true;
    }
};

bool TDataSet::EngineCanFind(const TKeyMatcher& matcher) const
{
    return matcher.EngineColumns && !FilterActive() && FCursor->CanFind(matcher.Search);
}

bool TDataSet::FindRecord(const TKeyMatcher& matcher, TRecordBuffer& found)
{
    FCursorAt = -1;
    if (EngineCanFind(matcher)) {
        if (!FCursor->FindFirst(matcher.Search) || !FCursor->ReadCurrent(found.Values))
            return false;
        found.Bookmark = FCursor->Bookmark();
        found.Flag = bfCurrent;
        return RecordAccepted(found);   // calculates the record's fields
    }
    FCursor->SetToBegin();
    while (ReadAccepted(true, found)) {
        TDataSetStateGuard guard(*this, FState, &found);
        if (matcher.Matches())
            return true;
    }
    return false;
}

bool TDataSet::LocateIsQuick(const std::string& keyFields, TLocateOptions options) const
{
    CheckActive();
    std::vector<TField*> fields;
    GetFieldList(fields, keyFields);
    std::vector<TVariant> nulls(fields.size(), TVariant::Null());
    const TVariant keys = fields.size() == 1 ? TVariant::Null() : TVariant(nulls);
    return EngineCanFind(TKeyMatcher(*this, keyFields, keys, options));
}

bool TDataSet::Locate(const std::string& keyFields, const TVariant& keyValues, TLocateOptions options)
{
    CheckActive();
    CheckBrowseMode();
    TKeyMatcher matcher(*this, keyFields, keyValues, options);
    TRecordBuffer found;
    if (!FindRecord(matcher, found))
        return false;
    DoEvent(BeforeScroll);
    FDisplayRecord = -1;
    for (int i = 0; i < FRecordCount; ++i)
        if (FBuffers[i].Bookmark == found.Bookmark) {
            // Already in the window: only the current row changes.
            FActiveRecord = i;
            FBof = FEof = false;
            DataEvent(deDataSetScroll, nullptr, 0);
            DoEvent(AfterScroll);
            return true;
        }
    FCursorAt = -1;
    if (!FCursor->GotoBookmark(found.Bookmark))
        return false;
    FillAroundCursor((FBufferCount - 1) / 2, true);
    DataEvent(deDataSetChange);
    DoEvent(AfterScroll);
    return true;
}

TVariant TDataSet::Lookup(const std::string& keyFields, const TVariant& keyValues, const std::string& resultFields)
{
    CheckActive();
    CheckNotCalculating("search the dataset");
    TKeyMatcher matcher(*this, keyFields, keyValues, {});
    std::vector<TField*> results;
    GetFieldList(results, resultFields);
    TRecordBuffer found;
    if (!FindRecord(matcher, found))
        return TVariant::Null();
    TDataSetStateGuard guard(*this, FState, &found);
    return FieldValues(resultFields);
}
