#pragma once
// TBookmarkListGx: the records selected in a grid, kept as the dataset's
// bookmarks in the dataset's order (CompareBookmarks), without duplicates.
// Membership is a binary search; the last search is cached, so that
// painting the many cells of one row searches once.

#include <deque>
#include <string>

class TDataSet;
class TDBGridGxSelectionModel;

class TBookmarkListGx {
public:
    explicit TBookmarkListGx(TDBGridGxSelectionModel& model);
    // Clears the list (and lets an empty record selection fall back).
    ~TBookmarkListGx();
    TBookmarkListGx(const TBookmarkListGx&) = delete;
    TBookmarkListGx& operator=(const TBookmarkListGx&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    const std::string& Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    const std::string& operator[](int index) const { return Items(index); }

    // The dataset's order of two bookmarks (-1, 0, 1).
    int Compare(const std::string& a, const std::string& b) const;
    // Binary search: true when the bookmark is listed; index is its position,
    // or where it would be inserted.  Repeating the last search answers from
    // the cache until the list changes.
    bool Find(const std::string& bookmark, int& index);
    bool Contains(const std::string& bookmark);

    // The dataset's current bookmark; raises EInvalidGridOperation "Cannot
    // perform this operation on a closed dataset" while the link is inactive.
    std::string CurrentBookmark() const;
    bool CurrentRowSelected();
    // Adds or removes the current record.  A record that has no bookmark yet
    // (one being inserted) cannot be selected: nothing happens.
    void SetCurrentRowSelected(bool value);

    // Empties the list (nothing when empty).
    void Clear();
    bool LinkActive() const { return FLinkActive; }
    void LinkChanged(bool active);

    // Deletes every selected record from the dataset, from the last to the
    // first, under DisableControls.  Bookmarks of records already gone, or
    // hidden by a filter, are dropped without deleting anything.  A record the dataset refuses to delete ends the walk with its
    // error: the entries already processed are gone, the rest stay.
    void Delete();
    // Drops the bookmarks of records that no longer exist; true when some
    // were dropped.
    bool Refresh();

    // Hits of the one-entry search cache since construction.
    int CacheHits() const { return FCacheHits; }

private:
    TDataSet* DataSet() const;
    void Changed();
    void RemoveAt(int index);

    TDBGridGxSelectionModel& FModel;
    // A deque: a selection grown upwards inserts at the front.
    std::deque<std::string> FItems;
    bool FLinkActive = false;
    // The one-entry search cache; index -1 when empty.
    std::string FCacheBookmark;
    int FCacheIndex = -1;
    bool FCacheFound = false;
    int FCacheHits = 0;
};
