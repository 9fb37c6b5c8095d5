// Title cells rendered: where the caption starts, the dark look of
// selected columns, the sort-marker zone with its image and sort index
// numbers, title images in place of the caption, the held title button.

#include "grid/PaintTestSupport.h"
#include "grid/input/DBGridGxMouse.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor Dark(64, 64, 64);
const QColor MarkerGrey(128, 128, 128);

QRect Content(const QRect& cell) { return cell.adjusted(1, 1, -1, -1); }

// The x of the first run of `length` marker-grey pixels in a row of rect
// (the top side of the down marker); -1 when there is none.
int MarkerRunX(const QImage& image, const QRect& rect, int length)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        int run = 0;
        for (int x = rect.left(); x <= rect.right(); ++x) {
            run = Pixel(image, x, y) == MarkerGrey ? run + 1 : 0;
            if (run == length)
                return x - length + 1;
        }
    }
    return -1;
}

TEST(PaintTitle, CaptionStartsAtDxAndDyInsideTheFrame)
{
    TPaintGrid grid;
    const QPoint ink = InkOf("ID").First;
    // dghFixed3D: DX = 1, DY = 1 inside the one-pixel frame.
    QRect content = Content(grid.Cell(0, 0));
    EXPECT_EQ(FirstInk(grid.Render(), content, Qc(clBtnFace)), content.topLeft() + QPoint(1, 1) + ink);

    // Flat: DY = 0, the caption one pixel higher; the frame keeps its edge
    // on the top and left, the bottom and right lines take the cell colour.
    grid.G().SetFlat(true);
    content = Content(grid.Cell(0, 0));
    const QImage flat = grid.Render();
    EXPECT_EQ(FirstInk(flat, content, Qc(clBtnFace)), content.topLeft() + QPoint(1, 0) + ink);
    const QRect frame = grid.Cell(0, 0);
    EXPECT_EQ(Pixel(flat, frame.topLeft()), Qc(clBtnHighlight));
    EXPECT_EQ(Pixel(flat, frame.bottomRight()), Qc(clBtnFace));
    EXPECT_EQ(Pixel(flat, frame.right(), frame.center().y()), Qc(clBtnFace));

    // Without the 3D frame: DX = 2, DY = 1 (flat).
    grid.G().SetOptionsGx(grid.G().OptionsGx() - dghFixed3D);
    const QRect cell = grid.Cell(0, 0);
    EXPECT_EQ(FirstInk(grid.Render(), cell, Qc(clBtnFace)), cell.topLeft() + QPoint(2, 1) + ink);
}

TEST(PaintTitle, SelectedColumnsAreDarkWithWhiteText)
{
    TPaintGrid grid;
    grid.G().SetOptions(grid.G().Options() + dgMultiSelect);
    grid.G().Selection().Cols().Select(&grid.Column(1), false);
    const QImage image = grid.Render();
    const QRect selected = Content(grid.Cell(1, 0));
    EXPECT_EQ(Pixel(image, selected.topLeft()), Dark);
    EXPECT_EQ(Pixel(image, selected.bottomRight()), Dark);
    EXPECT_GT(CountColor(image, selected, Qc(clWhite)), 0) << "the caption in white";
    EXPECT_EQ(CountColor(image, selected, Qc(clBlack)), 0);
    // Sunken frame for the dark cell; the other titles stay raised.
    EXPECT_EQ(Pixel(image, grid.Cell(1, 0).topLeft()), Qc(cl3DDkShadow));
    EXPECT_EQ(Pixel(image, Content(grid.Cell(0, 0)).topLeft()), Qc(clBtnFace));
    EXPECT_EQ(Pixel(image, grid.Cell(0, 0).topLeft()), Qc(clBtnHighlight));
}

TEST(PaintTitle, TwoSortMarkedColumnsShowTheirIndexNumbersBesideTheMarker)
{
    TPaintGrid grid;
    grid.G().SetOptionsGx(grid.G().OptionsGx() + dghMultiSortMarking);
    grid.Column(1).SetWidth(80);
    grid.Column(5).SetWidth(80);
    grid.Column(1).Title()->SetSortMarker(smDownGx);
    const QImage single = grid.Render();
    grid.Column(5).Title()->SetSortMarker(smDownGx);
    ASSERT_EQ(grid.Column(5).Title()->SortIndex(), 2);
    const QImage both = grid.Render();

    const QFontMetrics metrics(GridPaintResources().SortIndexFont());
    for (int dataCol : {1, 5}) {
        const QRect content = Content(grid.Cell(dataCol, 0));
        const int right = content.x() + content.width();
        const int w = metrics.horizontalAdvance(QString::number(grid.Column(dataCol).Title()->SortIndex()));
        EXPECT_EQ(MarkerRunX(both, content, 10), right - 10 - w - 2) << "column " << dataCol;
        const QRect number(right - w - 2, content.y(), w, content.height());
        EXPECT_GT(CountColor(both, number, Qc(clBtnFace)), 0);
        EXPECT_LT(CountColor(both, number, Qc(clBtnFace)), number.width() * number.height())
            << "the number's ink, column " << dataCol;
    }
    // Alone, a marked column shows no number: the marker sits 2 pixels
    // from the right edge.
    const QRect first = Content(grid.Cell(1, 0));
    EXPECT_EQ(MarkerRunX(single, first, 10), first.x() + first.width() - 10 - 2);
    // The two numbers differ ("1" and "2").
    auto numberImage = [&](int dataCol) {
        const QRect content = Content(grid.Cell(dataCol, 0));
        const int right = content.x() + content.width();
        return both.copy(QRect(right - 8, content.y(), 8, content.height()));
    };
    EXPECT_NE(numberImage(1), numberImage(5));
}

TEST(PaintTitle, NarrowSortMarkedTitleDropsTheImageButKeepsTheNumber)
{
    TPaintGrid grid;
    grid.G().SetOptionsGx(grid.G().OptionsGx() + dghMultiSortMarking);
    grid.Column(1).Title()->SetSortMarker(smDownGx);
    grid.Column(5).Title()->SetSortMarker(smUpGx);
    grid.Column(1).SetWidth(14);   // a text area of 12 pixels inside the frame
    const QImage image = grid.Render();
    const QRect narrow = Content(grid.Cell(1, 0));
    ASSERT_LT(narrow.width(), 16);
    EXPECT_EQ(MarkerRunX(image, narrow, 3), -1) << "no marker image";
    const QFontMetrics metrics(GridPaintResources().SortIndexFont());
    const int w = metrics.horizontalAdvance("1");
    const int right = narrow.x() + narrow.width();
    const QRect number(right - w - 2, narrow.y(), w, narrow.height());
    EXPECT_LT(CountColor(image, number, Qc(clBtnFace)), number.width() * number.height()) << "the number shows";

    // With one marked column there is no number: the zone shrinks to its
    // 2 pixels of margin and the caption takes the rest.
    grid.Column(5).Title()->SetSortMarker(smNoneGx);
    const QImage alone = grid.Render();
    const QRect zone(right - 2, narrow.y(), 2, narrow.height());
    EXPECT_EQ(CountColor(alone, zone, Qc(clBtnFace)), zone.width() * zone.height());
    EXPECT_EQ(MarkerRunX(alone, narrow, 3), -1);
    EXPECT_GT(LastInkX(alone, narrow, Qc(clBtnFace)), right - w - 2) << "the caption reaches into the old zone";
}

TEST(PaintTitle, TitleImageReplacesTheCaption)
{
    TPaintGrid grid;
    TImageList images(8, 8);
    QPixmap red(8, 8);
    red.fill(Qt::red);
    images.Add(red);
    grid.G().SetTitleImages(&images);
    grid.Column(1).Title()->SetImageIndex(0);
    const QImage image = grid.Render();
    const QRect content = Content(grid.Cell(1, 0));
    EXPECT_EQ(CountColor(image, content, QColor(Qt::red)), 64);
    const QRect imageRect(content.x(), content.y() + (content.height() - 8) / 2, 8, 8);
    EXPECT_EQ(CountColor(image, imageRect, QColor(Qt::red)), 64) << "left, centred vertically";
    EXPECT_EQ(CountColor(image, content, QColor(Qt::red)) + CountColor(image, content, Qc(clBtnFace)),
              content.width() * content.height())
        << "no text at all";
    grid.G().SetTitleImages(nullptr);
}

TEST(PaintTitle, HeldTitleButtonIsSunkenAndShiftsItsCaption)
{
    TPaintGrid grid;
    const QRect content = Content(grid.Cell(0, 0));
    const QPoint upInk = FirstInk(grid.Render(), content, Qc(clBtnFace));
    grid.G().Mouse().SetPressedTitleCol(0);
    const QImage image = grid.Render();
    EXPECT_EQ(FirstInk(image, content, Qc(clBtnFace)), upInk + QPoint(1, 1));
    EXPECT_EQ(Pixel(image, grid.Cell(0, 0).topLeft()), Qc(cl3DDkShadow));
}

TEST(PaintTitle, ButtonParamsEventGivesColourAndMarker)
{
    TPaintGrid grid;
    std::vector<bool> downs;
    grid.G().OnGetBtnParams = [&](TCustomDBGridGx&, TColumnGx& column, TFontGx& font, TColor& background,
                                  TSortMarkerGx& marker, bool isDown) {
        downs.push_back(isDown);
        if (column.FieldName() == "NAME") {
            background = clAqua;
            marker = smDownGx;
            font.SetColor(clRed);
        }
    };
    const QImage image = grid.Render();
    const QRect content = Content(grid.Cell(1, 0));
    EXPECT_EQ(Pixel(image, content.topLeft()), Qc(clAqua));
    EXPECT_GT(CountColor(image, content, Qc(clRed)), 0) << "the font of the second call";
    EXPECT_EQ(MarkerRunX(image, content, 10), content.x() + content.width() - 12) << "the event's marker";
    EXPECT_FALSE(downs.empty());
}

}  // namespace
