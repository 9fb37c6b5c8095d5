// Locate and Lookup: the first record, in the dataset's order and through
// its filter, whose key fields hold the given values.

#include "data/DataSet.h"

#include <algorithm>

namespace {

char FoldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool TextMatches(const std::string& value, const std::string& key, bool caseInsensitive, bool partial)
{
    if (partial ? value.size() < key.size() : value.size() != key.size())
        return false;
    if (!caseInsensitive)
        return value.compare(0, key.size(), key) == 0;
    return std::equal(key.begin(), key.end(), value.begin(),
                      [](char a, char b) { return FoldCase(a) == FoldCase(b); });
}

bool IsTextField(const TField& field)
{
    return IsStringType(field.DataType()) || field.DataType() == ftMemo || field.DataType() == ftFmtMemo;
}

} // namespace

struct TDataSet::TKeyMatcher {
    std::vector<TField*> Fields;
    std::vector<TVariant> Keys;
    bool CaseInsensitive = false;
    bool Partial = false;

    TKeyMatcher(const TDataSet& dataSet, const std::string& keyFields, const TVariant& keyValues,
                TLocateOptions options)
        : CaseInsensitive(options.Contains(loCaseInsensitive)), Partial(options.Contains(loPartialKey))
    {
        dataSet.GetFieldList(Fields, keyFields);
        if (Fields.empty())
            throw EDatabaseError("No key fields given to search by");
        if (Fields.size() == 1 && !(keyValues.IsArray() && keyValues.ArrayLength() == 1)) {
            Keys.push_back(keyValues);
        } else {
            if (!keyValues.IsArray() || keyValues.ArrayLength() != static_cast<int>(Fields.size()))
                throw EDatabaseError(std::to_string(Fields.size()) +
                                     " key fields need an array of as many key values");
            Keys = keyValues.AsArray();
        }
        for (size_t i = 0; i < Fields.size(); ++i) {
            TVariant& key = Keys[i];
            if (key.IsNullOrEmpty())
                key = TVariant::Null();
            else if (IsTextField(*Fields[i]))
                key = TVariant(key.AsString());
            else
                key = Fields[i]->ConvertToStored(key);
        }
    }

    // Reads the fields of the dataset's record being searched.
    bool Matches() const
    {
        for (size_t i = 0; i < Fields.size(); ++i) {
            TVariant value = Fields[i]->Value();
            const TVariant& key = Keys[i];
            if (key.IsNull() || value.IsNull()) {
                if (key.IsNull() != value.IsNull())
                    return false;
                continue;
            }
            if (IsTextField(*Fields[i])) {
                if (!TextMatches(value.AsString(), key.AsString(), CaseInsensitive, Partial))
                    return false;
            } else if (TVariant::Compare(value, key) != 0) {
                return false;
            }
        }
        return true;
    }
};

bool TDataSet::FindRecord(const TKeyMatcher& matcher, TRecordBuffer& found)
{
    FCursorAt = -1;
    FCursor->SetToBegin();
    while (ReadAccepted(true, found)) {
        TDataSetStateGuard guard(*this, FState, &found);
        if (matcher.Matches())
            return true;
    }
    return false;
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
