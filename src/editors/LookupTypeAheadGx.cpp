#include "editors/LookupTypeAheadGx.h"

#include "data/DataSet.h"
#include "platform/ScopeGuard.h"
#include "platform/Utf8.h"

#include <QString>

namespace {

bool IsAscii(const std::string& text)
{
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

// Letters of scripts without case (Han, kana, Hangul, CJK punctuation):
// no other character folds to them.
bool IsCaseless(char32_t c)
{
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0x20000 && c <= 0x3FFFF);
}

bool IsAsciiLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether matching the prefix without regard to the case of ASCII letters
// (what Locate does) finds what StartsWithIgnoringCase finds: an ASCII
// prefix, or one whose characters all match only themselves.
bool AsciiFoldingSuffices(const std::string& prefix)
{
    if (IsAscii(prefix))
        return true;
    for (char32_t c : Utf8ToUtf32(prefix))
        if (!(c < 0x80 ? !IsAsciiLetter(c) : IsCaseless(c)))
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
    // A dataset that answers Locate from an index finds the record without
    // walking the table; Locate ignores the case of ASCII letters only.
    const TLocateOptions options{loCaseInsensitive, loPartialKey};
    if (AsciiFoldingSuffices(prefix) && field.FieldKind() == fkData && dataSet.LocateIsQuick(field.FieldName(), options)) {
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
