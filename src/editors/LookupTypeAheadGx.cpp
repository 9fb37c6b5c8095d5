#include "editors/LookupTypeAheadGx.h"

#include "data/DataSet.h"
#include "platform/ScopeGuard.h"

bool TLookupTypeAheadGx::StartsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    return SearchTextMatches(text, prefix, true, true);
}

bool TLookupTypeAheadGx::CanContinueFrom(const TDataSet& dataSet, const std::string& prefix) const
{
    return FDataSet == &dataSet && FVersion == dataSet.ContentVersion() && !FPrefix.empty() &&
           prefix.size() > FPrefix.size() && StartsWithIgnoringCase(prefix, FPrefix);
}

bool TLookupTypeAheadGx::Find(TField& field, const std::string& prefix)
{
    TDataSet& dataSet = *field.DataSet();
    dataSet.CheckActive();
    dataSet.CheckBrowseMode();
    // A dataset that answers Locate from an index finds the record without
    // walking the table; Locate ignores case by the same rule.
    const TLocateOptions options{loCaseInsensitive, loPartialKey};
    if (field.FieldKind() == fkData && dataSet.LocateIsQuick(field.FieldName(), options)) {
        Reset();
        return dataSet.Locate(field.FieldName(), TVariant(prefix), options);
    }
    return Walk(field, prefix);
}

bool TLookupTypeAheadGx::Walk(TField& field, const std::string& prefix)
{
    TDataSet& dataSet = *field.DataSet();
    const std::string start = dataSet.IsEmpty() ? std::string() : dataSet.Bookmark();
    bool found = false;
    {
        dataSet.DisableControls();
        TScopeExit enable([&] { dataSet.EnableControls(); });
        bool positioned = false;
        if (CanContinueFrom(dataSet, prefix) && dataSet.BookmarkValid(FBookmark)) {
            dataSet.GotoBookmark(FBookmark);
            positioned = true;
        }
        if (!positioned)
            dataSet.First();
        while (!dataSet.Eof()) {
            if (StartsWithIgnoringCase(field.AsString(), prefix)) {
                found = true;
                break;
            }
            dataSet.Next();
        }
        if (!found && !start.empty())
            dataSet.GotoBookmark(start);
    }
    if (found) {
        FDataSet = &dataSet;
        FVersion = dataSet.ContentVersion();
        FPrefix = prefix;
        FBookmark = dataSet.Bookmark();
    }
    return found;
}
