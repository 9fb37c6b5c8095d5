#pragma once
// What the grids paint with.
//
// TGridPaintResources is the program's one set, made at start-up: the
// small font of the sort index numbers, the size of a check box, the
// three mouse cursors of the grid, the colours of the incremental search
// and its shortcuts and time-out.  Making it raises EOutOfResources
// "Cannot load cursor resource" when a cursor cannot be loaded.
//
// TGridImagesGx is each grid's own pair of image lists (indicator glyphs
// and sort markers), made with the grid; making it also makes the
// program's set when the program has not made it yet.
//
// TTextBitmapUserGx shares one off-screen bitmap between the grids for
// text that is composed before it is copied to a cell; the bitmap exists
// while at least one grid holds a user and only ever grows.

#include "grid/paint/ImageList.h"
#include "platform/Color.h"

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QKeySequence>
#include <QSize>

#include <functional>
#include <optional>
#include <string_view>

class TGridPaintResources {
public:
    using TCursorLoader = std::function<std::optional<QCursor>(std::string_view name)>;

    // Loads the cursors through the loader (the program's own pictures by
    // default).
    explicit TGridPaintResources(const TCursorLoader& loadCursor = {});

    // Arial with 8-pixel characters: one less than the sort marker's height.
    const QFont& SortIndexFont() const { return FSortIndexFont; }
    // One check box of the system's check box pictures.
    QSize CheckSize() const { return FCheckSize; }
    // Column selection in a title; row selection in the indicator column,
    // pointing right (left under right-to-left reading).
    const QCursor& DownCursor() const { return FDownCursor; }
    const QCursor& RightCursor() const { return FRightCursor; }
    const QCursor& LeftCursor() const { return FLeftCursor; }

    // The incremental search: its colours, its keys (start, next match,
    // previous match) and the time-out of a search started by typing.
    TColor SearchBackground() const { return clYellow; }
    TColor SearchText() const { return clBlack; }
    const QKeySequence& SearchShortCut() const { return FSearchShortCut; }
    const QKeySequence& SearchNextShortCut() const { return FSearchNextShortCut; }
    const QKeySequence& SearchPriorShortCut() const { return FSearchPriorShortCut; }
    int SearchTimeOut() const { return 1500; }

private:
    QFont FSortIndexFont;
    QSize FCheckSize;
    QCursor FDownCursor;
    QCursor FRightCursor;
    QCursor FLeftCursor;
    QKeySequence FSearchShortCut;
    QKeySequence FSearchNextShortCut;
    QKeySequence FSearchPriorShortCut;
};

// Makes the program's set now (the program calls it at start-up; painting
// makes it on first use otherwise).  Raises what the constructor raises.
void CreateGridPaintResources();
// The program's set, made on first use.
const TGridPaintResources& GridPaintResources();

// Indexes of the indicator image list.
enum TIndicatorImageGx {
    iiArrowGx = 0,        // current row, browsing
    iiEditGx = 1,         // dataset in edit state
    iiInsertGx = 2,       // dataset in insert state
    iiMultiDotGx = 3,     // kept, not drawn
    iiMultiArrowGx = 4,   // kept, not drawn
    iiSelectedArrowGx = 5,// current row that is also selected
    iiSearchArrowGx = 6   // current row while an incremental search runs
};

class TGridImagesGx {
public:
    TGridImagesGx();
    TGridImagesGx(const TGridImagesGx&) = delete;
    TGridImagesGx& operator=(const TGridImagesGx&) = delete;

    // Seven 6 x 11 glyphs (TIndicatorImageGx).
    const TImageList& Indicators() const { return FIndicators; }
    // 10 x 9: 0 down ("DBSMDOWNGX"), 1 up ("DBSMUPGX").
    const TImageList& SortMarkers() const { return FSortMarkers; }

    // The search arrow drawn over a background colour: the white arrow
    // with its white parts showing the colour (teal is replaced by
    // RGB 0, 127, 127, so the arrow stays visible on the teal background).
    static QPixmap ArrowOverColor(TColor background);

private:
    TImageList FIndicators;
    TImageList FSortMarkers;
};

class TTextBitmapUserGx {
public:
    TTextBitmapUserGx();
    ~TTextBitmapUserGx();
    TTextBitmapUserGx(const TTextBitmapUserGx&) = delete;
    TTextBitmapUserGx& operator=(const TTextBitmapUserGx&) = delete;

    // Grids holding a user now.
    static int UserCount();
};

// The shared bitmap, at least `size` large (grown when smaller, never
// shrunk).  Valid until the next call.
QImage& SharedTextBitmap(QSize size);
// The bitmap's present size (empty while no grid uses it).
QSize SharedTextBitmapSize();
