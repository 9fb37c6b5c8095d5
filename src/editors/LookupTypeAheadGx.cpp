#include "editors/LookupTypeAheadGx.h"

#include "data/DataSet.h"
#include "platform/ScopeGuard.h"

#include <QString>

namespace {

bool IsAscii(const std::string& text)
{
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

bool TLookupTypeAheadGx::StartsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    if (IsAscii(prefix)) {
        // An ASCII prefix can only match ASCII bytes: compare bytes.
        return SearchTextMatches(text, prefix, true, true);
    }
    return QString::fromUtf8(text).startsWith(QString::fromUtf8(prefix), Qt::CaseInsensitive);
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
    // Locate ignores the case of ASCII letters only, which is all an ASCII
    // prefix needs; a dataset that answers it from an index finds the
    // record without walking the table.
    const TLocateOptions options{loCaseInsensitive, loPartialKey};
    if (IsAscii(prefix) && field.FieldKind() == fkData && dataSet.LocateIsQuick(field.FieldName(), options)) {
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
