// The painting resources (cursors, sort-index font, check size), the
// grid's images, the shared text bitmap and the text writers.

#include "grid/PaintTestSupport.h"

#include "grid/paint/GridImages.h"
#include "grid/paint/GridTextWriter.h"
#include "platform/Exceptions.h"
#include "ui/SystemMetrics.h"

#include <QPainter>

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(PaintResources, AMissingCursorFailsStartUp)
{
    for (const std::string missing : {"DOWNCURGX", "RIGHTCURGX", "LEFTCURGX"}) {
        auto loader = [&](std::string_view name) -> std::optional<QCursor> {
            if (name == missing)
                return std::nullopt;
            return LoadGridCursor(name);
        };
        try {
            TGridPaintResources resources(loader);
            ADD_FAILURE() << "no error without " << missing;
        } catch (const EOutOfResources& error) {
            EXPECT_EQ(error.Message(), "Cannot load cursor resource") << missing;
        }
    }
    EXPECT_NO_THROW(TGridPaintResources resources);
}

TEST(PaintResources, CursorsPointWithTheirHotSpot)
{
    const TGridPaintResources resources;
    auto tip = [](const QCursor& cursor) {
        const QImage image = cursor.pixmap().toImage();
        return image.pixelColor(cursor.hotSpot());
    };
    EXPECT_EQ(resources.DownCursor().hotSpot(), QPoint(7, 12));
    EXPECT_EQ(tip(resources.DownCursor()), QColor(Qt::black));
    EXPECT_EQ(resources.RightCursor().hotSpot(), QPoint(12, 7));
    EXPECT_EQ(tip(resources.RightCursor()), QColor(Qt::black));
    EXPECT_EQ(tip(resources.LeftCursor()), QColor(Qt::black));
    EXPECT_LT(resources.LeftCursor().hotSpot().x(), 8) << "the left arrow's tip is on its left";
}

TEST(PaintResources, SortIndexFontCheckSizeAndSearchSettings)
{
    const TGridPaintResources& resources = GridPaintResources();
    EXPECT_EQ(resources.SortIndexFont().pixelSize(), 8) << "one less than the sort marker's 9 pixels";
    EXPECT_EQ(resources.SortIndexFont().family(), "Arial");
    EXPECT_EQ(resources.CheckSize(), SystemCheckSize());
    EXPECT_EQ(resources.SearchBackground(), clYellow);
    EXPECT_EQ(resources.SearchText(), clBlack);
    EXPECT_EQ(resources.SearchShortCut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(resources.SearchPriorShortCut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return));
    EXPECT_EQ(resources.SearchTimeOut(), 1500);
}

TEST(PaintResources, BitmapsHaveTheirSizesAndUnknownNamesNone)
{
    for (const char* name : {"DBGARROWGX", "DBEDITGX", "DBINSERTGX", "DBMULTIDOTGX", "DBMULTIARROWGX", "DBGARROWGXW"})
        EXPECT_EQ(LoadGridBitmap(name).size(), QSize(6, 11)) << name;
    EXPECT_EQ(LoadGridBitmap("DBSMDOWNGX").size(), QSize(10, 9));
    EXPECT_EQ(LoadGridBitmap("DBSMUPGX").size(), QSize(10, 9));
    EXPECT_TRUE(LoadGridBitmap("DBNOSUCH").isNull());
    EXPECT_FALSE(LoadGridCursor("NOCURGX").has_value());
    // The down marker: a dark top side, a white right side.
    const QImage down = LoadGridBitmap("DBSMDOWNGX");
    EXPECT_EQ(down.pixelColor(0, 0), QColor(128, 128, 128));
    EXPECT_EQ(down.pixelColor(8, 1), QColor(Qt::white));
    EXPECT_EQ(down.pixelColor(0, 8), QColor(Qt::magenta));
}

TEST(PaintResources, SearchArrowIsYellowAndStaysVisibleOnTeal)
{
    const TGridImagesGx images;
    EXPECT_EQ(images.Indicators().Count(), 7);
    EXPECT_EQ(images.SortMarkers().Count(), 2);
    const QImage search = images.Indicators().Image(iiSearchArrowGx).toImage();
    EXPECT_EQ(search.pixelColor(0, 5), QColor(Qt::yellow));
    EXPECT_EQ(search.pixelColor(5, 0).alpha(), 0) << "teal is transparent";
    const QImage onTeal = TGridImagesGx::ArrowOverColor(clTeal).toImage();
    EXPECT_EQ(onTeal.pixelColor(0, 5), QColor(0, 127, 127));
}

TEST(PaintResources, SharedTextBitmapGrowsAndGoesWithTheLastGrid)
{
    const int before = TTextBitmapUserGx::UserCount();
    {
        TTextBitmapUserGx user;
        EXPECT_EQ(TTextBitmapUserGx::UserCount(), before + 1);
        SharedTextBitmap(QSize(50, 20));
        SharedTextBitmap(QSize(30, 40));
        EXPECT_GE(SharedTextBitmapSize().width(), 50);
        EXPECT_GE(SharedTextBitmapSize().height(), 40);
        const QSize grown = SharedTextBitmapSize();
        SharedTextBitmap(QSize(10, 10));
        EXPECT_EQ(SharedTextBitmapSize(), grown) << "never shrinks";
    }
    if (before == 0) {
        EXPECT_TRUE(SharedTextBitmapSize().isEmpty());
    }
}

// ---- the writers --------------------------------------------------------

class TextWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = QImage(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        painter = std::make_unique<QPainter>(&image);
        painter->setFont(PaintTestFont());
        painter->setPen(Qt::black);
        painter->setBrush(QColor(Qt::cyan));
    }
    QImage Done()
    {
        painter.reset();
        return image;
    }
    QImage image;
    std::unique_ptr<QPainter> painter;
};

TEST_F(TextWriter, OneLineFillsTheCellAndPlacesByAlignment)
{
    TCellTextGx left;
    left.Rect = QRect(10, 10, 100, 20);
    WriteCellText(*painter, left, "Wg");
    TCellTextGx centre = left;
    centre.Rect = QRect(10, 40, 100, 20);
    centre.Alignment = taCenter;
    WriteCellText(*painter, centre, "Wg");
    const QImage result = Done();
    EXPECT_EQ(result.pixelColor(109, 29), QColor(Qt::cyan)) << "the whole rectangle filled";
    EXPECT_EQ(result.pixelColor(110, 29), QColor(Qt::white));
    const int leftInk = FirstInk(result, left.Rect, Qt::cyan).x();
    const int centreInk = FirstInk(result, centre.Rect, Qt::cyan).x();
    const int width = QFontMetrics(PaintTestFont()).horizontalAdvance("Wg");
    EXPECT_EQ(centreInk - leftInk, (10 + 50 - width / 2) - (10 + 2));
}

TEST_F(TextWriter, WordWrapBreaksLinesAndCentresTheBlock)
{
    TCellTextGx cell;
    cell.Rect = QRect(0, 0, 60, 80);
    cell.WordWrap = true;
    cell.Placement = vpCenterGx;
    WriteCellText(*painter, cell, "one two three four");
    const QImage result = Done();
    const QPoint first = FirstInk(result, cell.Rect, Qt::cyan);
    EXPECT_GT(first.y(), 15) << "centred, not at the top";
    bool inRun = false;
    int runs = 0;
    for (int y = 0; y < 80; ++y) {
        bool ink = false;
        for (int x = 0; x < 60; ++x)
            ink = ink || result.pixelColor(x, y) != QColor(Qt::cyan);
        runs += ink && !inRun;
        inRun = ink;
    }
    EXPECT_GE(runs, 2) << "more than one line";
    EXPECT_EQ(result.pixelColor(59, 79), QColor(Qt::cyan));
}

TEST_F(TextWriter, VerticalTextRunsUpwardFromTheBottom)
{
    TCellTextGx cell;
    cell.Rect = QRect(20, 0, 20, 100);
    cell.DY = 4;
    const int length = WriteVerticalText(*painter, cell, "Vertical", true);
    EXPECT_EQ(length, QFontMetrics(PaintTestFont()).horizontalAdvance("Vertical"));
    QImage measured = image.copy();
    EXPECT_EQ(FirstInk(measured, QRect(0, 0, 200, 100), Qt::white), QPoint(-1, -1)) << "measuring draws nothing";

    WriteVerticalText(*painter, cell, "Vertical");
    const QImage result = Done();
    int top = -1;
    int bottom = -1;
    int left = 1000;
    int right = -1;
    for (int y = 0; y < 100; ++y)
        for (int x = 20; x < 40; ++x)
            if (result.pixelColor(x, y) != QColor(Qt::cyan)) {
                if (top < 0)
                    top = y;
                bottom = y;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(top, 0);
    EXPECT_GT(bottom - top, 2 * (right - left)) << "taller than wide";
    EXPECT_LE(bottom, 100 - 4) << "starting DY above the bottom";
    EXPECT_GE(bottom, 100 - 4 - 3);
    EXPECT_NEAR(100 - 4 - top, length, 3);
}

TEST_F(TextWriter, RightToLeftOnAMirroredPainterDrawsUnmirroredTextOnTheMirroredCell)
{
    TCellTextGx cell;
    cell.Rect = QRect(0, 0, 50, 20);
    cell.RightToLeft = true;
    painter->setWorldTransform(QTransform(-1, 0, 0, 1, 200, 0));
    WriteCellText(*painter, cell, "ab");
    TCellTextGx wrapped = cell;
    wrapped.Rect = QRect(0, 40, 50, 40);
    wrapped.WordWrap = true;
    WriteCellText(*painter, wrapped, "ab");
    painter->resetTransform();
    TCellTextGx plain;
    plain.Rect = QRect(0, 0, 50, 20);
    plain.Alignment = taRightJustify;
    WriteCellText(*painter, plain, "ab");
    const QImage result = Done();
    EXPECT_EQ(result.pixelColor(149, 1), QColor(Qt::white)) << "nothing left of the mirrored cell";
    EXPECT_EQ(result.pixelColor(150, 1), QColor(Qt::cyan)) << "the mirrored cell";
    EXPECT_EQ(result.pixelColor(199, 1), QColor(Qt::cyan));
    EXPECT_GT(FirstInk(result, QRect(150, 0, 50, 20), Qt::cyan).x(), 175) << "left alignment reads as right";
    // Right-aligned text drawn plainly at the left gives the same pixels:
    // the mirrored text is not mirrored itself.
    EXPECT_EQ(result.copy(150, 0, 50, 20), result.copy(0, 0, 50, 20));
    const QPoint wrappedInk = FirstInk(result, QRect(150, 40, 50, 40), Qt::cyan);
    EXPECT_GT(wrappedInk.x(), 175) << "word-wrapped text too";
}

}  // namespace
