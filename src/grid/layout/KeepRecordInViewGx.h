#pragma once
// TKeepRecordInViewGx: remembers a data link's current record and the row
// of the link's window it shows in, so that after a batch of changes
// (deleting other records) the same record can be made current again in
// the same row, as far as the records around it allow.

#include <string>

class TDataLink;

class TKeepRecordInViewGx {
public:
    explicit TKeepRecordInViewGx(TDataLink& link);
    TKeepRecordInViewGx(const TKeepRecordInViewGx&) = delete;
    TKeepRecordInViewGx& operator=(const TKeepRecordInViewGx&) = delete;

    // Nothing is to be restored (the record is going away).
    void Forget() { FBookmark.clear(); }
    // Makes the record current again in its row; nothing when it is gone.
    // True when it was restored.
    bool Restore();

private:
    // Scrolls the link's window so that the current record shows in `row`.
    void PlaceInRow(int row);

    TDataLink& FLink;
    std::string FBookmark;
    int FRow = 0;
};
