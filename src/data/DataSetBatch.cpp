// Appending many records at once: records prepared through the fields one
// by one, then written by the engine in one call.

#include "data/DataSet.h"

TEngineRecord TDataSet::TakeAppendedRecord()
{
    CheckActive();
    if (FState != dsInsert || !FAppending)
        throw EDatabaseError("Dataset not appending a record");
    DataEvent(deCheckBrowseMode);
    UpdateRecord();
    DoEvent(BeforePost);
    CheckRequiredFields();
    TEngineRecord values = CurrentBuffer().Values;
    CancelEditQuietly();
    DataEvent(deDataSetChange);
    return values;
}

void TDataSet::AppendRecords(std::vector<TEngineRecord>& records, size_t& appended)
{
    appended = 0;
    CheckActive();
    CheckBrowseMode();
    CheckCanModify();
    if (records.empty())
        return;
    FDisplayRecord = -1;
    FCursorAt = -1;
    try {
        FCursor->AppendRecords(records, appended);
    } catch (...) {
        if (appended > 0) {
            ++FContentVersion;
            FillAroundCursor(FBufferCount - 1, true);
            DataEvent(deDataSetChange);
        }
        throw;
    }
    ++FContentVersion;
    FillAroundCursor(FBufferCount - 1, true);
    DataEvent(deDataSetChange);
}
