#pragma once
// TDBGridGxSelectionRect: a block of cells between two corner cells, each a
// data column index and a record bookmark.  Changing the block repaints
// only the strips of the window that changed.

#include <QRect>

#include <string>
#include <vector>

class TDBGridGxSelectionModel;

// A cell of the data: a column index into the grid's Columns and a record.
struct TDBCell {
    int Col = -1;
    std::string Bookmark;

    bool Empty() const { return Col < 0; }
};

// The parts of two rectangles' bounding box outside their intersection
// (up to four strips), or both rectangles whole when they do not meet:
// what must be repainted when a block changes from one to the other.
std::vector<QRect> ChangedStrips(const QRect& before, const QRect& after);

class TDBGridGxSelectionRect {
public:
    explicit TDBGridGxSelectionRect(TDBGridGxSelectionModel& model);
    TDBGridGxSelectionRect(const TDBGridGxSelectionRect&) = delete;
    TDBGridGxSelectionRect& operator=(const TDBGridGxSelectionRect&) = delete;

    const TDBCell& Anchor() const { return FAnchor; }
    const TDBCell& ShiftCell() const { return FShiftCell; }

    // Moves the shifted corner to the cell (and the anchor too unless
    // keepAnchor and an anchor exists).  A block of one cell is no selection.
    void Select(int columnIndex, const std::string& bookmark, bool keepAnchor);
    // Both corners become empty; the grid repaints.
    void Clear();

    // The block's bounds.  Each raises EInvalidGridOperation without an
    // active data link.
    std::string TopRow() const;
    std::string BottomRow() const;
    int LeftCol() const;
    int RightCol() const;
    bool DataCellSelected(int columnIndex, const std::string& bookmark) const;

    // The window rectangle of the block between two cells (in viewport
    // pixels); empty when no part of it is in the window.
    QRect BlockRect(const TDBCell& a, const TDBCell& b) const;

private:
    void CheckBounds() const;
    int Compare(const std::string& a, const std::string& b) const;

    TDBGridGxSelectionModel& FModel;
    TDBCell FAnchor;
    TDBCell FShiftCell;
};
