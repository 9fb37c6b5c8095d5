#include "grid/paint/GridPaintResources.h"

#include "grid/paint/GridImages.h"
#include "platform/Exceptions.h"
#include "ui/QtColor.h"
#include "ui/SystemMetrics.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// A plain pointer with no destructor of its own: the set is freed by the
// application's post routine alone, while the application that made its
// cursors and font still exists.  (An owning static would free it a second
// time wherever the application object is itself a static made first: the
// static's destructor runs before the application's, whose post routine
// then deletes the set again.)
TGridPaintResources*& ResourcesSlot()
{
    static TGridPaintResources* resources = nullptr;
    return resources;
}

QCursor RequireCursor(const TGridPaintResources::TCursorLoader& load, std::string_view name)
{
    std::optional<QCursor> cursor = load(name);
    if (!cursor)
        throw EOutOfResources("Cannot load cursor resource");
    return *cursor;
}

void AddMasked(TImageList& list, std::string_view name, TColor transparent)
{
    list.Add(MaskedPixmap(LoadGridBitmap(name), transparent));
}

// The shared off-screen bitmap and the grids using it.
struct TTextBitmapState {
    QImage Bitmap;
    int Users = 0;
};
TTextBitmapState& TextBitmapState()
{
    static TTextBitmapState state;
    return state;
}

}  // namespace

TGridPaintResources::TGridPaintResources(const TCursorLoader& loadCursor)
{
    const TCursorLoader load = loadCursor ? loadCursor : TCursorLoader(LoadGridCursor);
    FDownCursor = RequireCursor(load, "DOWNCURGX");
    FRightCursor = RequireCursor(load, "RIGHTCURGX");
    FLeftCursor = RequireCursor(load, "LEFTCURGX");

    FSortIndexFont = QFont("Arial");
    FSortIndexFont.setPixelSize(std::max(1, LoadGridBitmap("DBSMDOWNGX").height() - 1));
    FCheckSize = SystemCheckSize();

    FSearchShortCut = QKeySequence(Qt::CTRL | Qt::Key_F);
    FSearchNextShortCut = QKeySequence(Qt::CTRL | Qt::Key_Return);
    FSearchPriorShortCut = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return);
}

void CreateGridPaintResources()
{
    if (ResourcesSlot())
        return;
    ResourcesSlot() = new TGridPaintResources();
    qAddPostRoutine([] { delete std::exchange(ResourcesSlot(), nullptr); });
}

const TGridPaintResources& GridPaintResources()
{
    CreateGridPaintResources();
    return *ResourcesSlot();
}

// ---- the grid's image lists -------------------------------------------------

TGridImagesGx::TGridImagesGx() : FIndicators(6, 11), FSortMarkers(10, 9)
{
    // The first grid finds the program's resources made, or makes them:
    // a grid cannot be used without its cursors.
    CreateGridPaintResources();
    for (const char* name : {"DBGARROWGX", "DBEDITGX", "DBINSERTGX", "DBMULTIDOTGX", "DBMULTIARROWGX"})
        AddMasked(FIndicators, name, clWhite);
    AddMasked(FIndicators, "DBGARROWGXW", clTeal);
    FIndicators.Add(ArrowOverColor(clYellow));
    AddMasked(FSortMarkers, "DBSMDOWNGX", clFuchsia);
    AddMasked(FSortMarkers, "DBSMUPGX", clFuchsia);
}

QPixmap TGridImagesGx::ArrowOverColor(TColor background)
{
    TColor fill = ColorToRGB(background);
    if (fill == clTeal)
        fill = RGB(0, 127, 127);
    const QImage arrow = LoadGridBitmap("DBGARROWGXW");
    QImage composed(arrow.size(), QImage::Format_RGB32);
    composed.fill(ToQColor(fill));
    {
        QPainter painter(&composed);
        painter.drawPixmap(0, 0, MaskedPixmap(arrow, clWhite));
    }
    return MaskedPixmap(composed, clTeal);
}

// ---- the shared text bitmap ------------------------------------------------

TTextBitmapUserGx::TTextBitmapUserGx() { ++TextBitmapState().Users; }

TTextBitmapUserGx::~TTextBitmapUserGx()
{
    TTextBitmapState& state = TextBitmapState();
    if (--state.Users == 0)
        state.Bitmap = QImage();
}

int TTextBitmapUserGx::UserCount() { return TextBitmapState().Users; }

QImage& SharedTextBitmap(QSize size)
{
    QImage& bitmap = TextBitmapState().Bitmap;
    if (bitmap.width() < size.width() || bitmap.height() < size.height()) {
        const QSize grown = bitmap.size().expandedTo(size).expandedTo(QSize(1, 1));
        bitmap = QImage(grown, QImage::Format_ARGB32_Premultiplied);
    }
    return bitmap;
}

QSize SharedTextBitmapSize() { return TextBitmapState().Bitmap.size(); }
