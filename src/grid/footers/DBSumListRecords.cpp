// The summary list's record list: every record's bookmark in dataset
// order, which numbers the records of a dataset that cannot number them
// itself.  The list is sorted by the dataset's bookmark order, so a search
// halves it; the position last found is kept for the next search.

#include "grid/footers/DBSumList.h"

#include <algorithm>

int TDBSumListProducer::IndexOfBookmark(const std::string& bookmark)
{
    if (FRecordList.empty() || !FDataSet || bookmark.empty())
        return -1;
    if (FSearchPosition >= 0 && FSearchPosition < static_cast<int>(FRecordList.size()) &&
        FDataSet->CompareBookmarks(FRecordList[FSearchPosition], bookmark) == 0)
        return FSearchPosition;
    auto it = std::lower_bound(FRecordList.begin(), FRecordList.end(), bookmark,
                               [&](const std::string& entry, const std::string& wanted) {
                                   return FDataSet->CompareBookmarks(entry, wanted) < 0;
                               });
    if (it == FRecordList.end() || FDataSet->CompareBookmarks(*it, bookmark) != 0)
        return -1;
    FSearchPosition = static_cast<int>(it - FRecordList.begin());
    return FSearchPosition;
}

void TDBSumListProducer::InsertCurrentBookmark()
{
    std::string bookmark = FDataSet->Bookmark();
    if (bookmark.empty())
        return;
    // Before the first entry that compares greater; at the end when none does.
    auto it = std::upper_bound(FRecordList.begin(), FRecordList.end(), bookmark,
                               [&](const std::string& wanted, const std::string& entry) {
                                   return FDataSet->CompareBookmarks(wanted, entry) < 0;
                               });
    FSearchPosition = static_cast<int>(it - FRecordList.begin());
    FRecordList.insert(it, std::move(bookmark));
}

bool TDBSumListProducer::ServesRecordNumbers() const
{
    return FDataSet && !SequencedDataSet() && FVirtualRecords && FActive;
}

int64_t TDBSumListProducer::RecNo()
{
    if (!ServesRecordNumbers())
        return FDataSet ? FDataSet->RecNo() : 0;
    return IndexOfBookmark(FDataSet->Bookmark()) + 1;
}

void TDBSumListProducer::SetRecNo(int64_t recNo)
{
    if (!FDataSet)
        return;
    if (!ServesRecordNumbers()) {
        FDataSet->SetRecNo(recNo);
        return;
    }
    if (recNo < 1 || recNo > static_cast<int64_t>(FRecordList.size()))
        return;
    FDataSet->GotoBookmark(FRecordList[static_cast<size_t>(recNo - 1)]);
    FSearchPosition = static_cast<int>(recNo - 1);
}

int64_t TDBSumListProducer::RecordCount() const
{
    if (ServesRecordNumbers())
        return static_cast<int64_t>(FRecordList.size());
    return FDataSet ? FDataSet->RecordCount() : 0;
}

bool TDBSumListProducer::HasRecordNumbers() const
{
    if (SequencedDataSet())
        return true;
    return FDataSet && FVirtualRecords && FActive && (!FRecordList.empty() || (FDataSet->Bof() && FDataSet->Eof()));
}
