// Data cells rendered: highlight and selection colours, the focus
// rectangle, where text starts (DX, DY) with and without the flat look and
// 3D frames, right alignment, end ellipsis, check boxes, key images,
// always-shown edit buttons, the cell parameter and drawing events and the
// incremental search text.

#include "grid/PaintTestSupport.h"
#include "grid/input/DBGridGxKeyboard.h"

#include "ui/TextDraw.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// The first ink of a text drawn with its top-left corner at (0, 0), and
// the last ink column relative to its advance.
enum { ColId, ColName, ColActive, ColCode, ColNotes, ColAmount };

// Grid row 2 shows the second record ("Bob"), which is not current.
const int BobRow = 2;

TEST(PaintData, CurrentCellIsHighlightedWhileFocusedAndFramed)
{
    TPaintGrid grid;
    grid.G().SetCol(grid.G().DataToRawColumn(ColName));
    QImage image = grid.Render();
    const QRect current = grid.Cell(ColName, 1);
    const QRect inside = current.adjusted(1, 1, -1, -1);
    EXPECT_EQ(Pixel(image, inside.center()), Qc(clHighlight));
    EXPECT_GT(CountColor(image, inside, Qc(clHighlightText)), 0) << "the text in the highlight text colour";
    EXPECT_EQ(Pixel(image, grid.Cell(ColName, BobRow).center()), Qc(clWindow));
    // The dotted focus frame inverts the top-left corner pixel.
    const QColor highlight = Qc(clHighlight);
    EXPECT_EQ(Pixel(image, current.topLeft()), QColor(255 - highlight.red(), 255 - highlight.green(), 255 - highlight.blue()));

    // Without dghHighlightFocus and dgAlwaysShowSelection the cell is not
    // highlighted, but still framed.
    grid.G().SetOptionsGx(grid.G().OptionsGx() - dghHighlightFocus);
    image = grid.Render();
    EXPECT_EQ(Pixel(image, inside.center()), Qc(clWindow));
    EXPECT_EQ(Pixel(image, current.topLeft()), QColor(Qt::black));
    EXPECT_EQ(Pixel(image, current.topLeft() + QPoint(1, 0)), QColor(Qt::white)) << "every other pixel";
}

TEST(PaintData, RowHighlightMarksTheCurrentRow)
{
    TPaintGrid grid;
    grid.G().SetOptionsGx(grid.G().OptionsGx() + dghRowHighlight);
    const QImage image = grid.Render();
    EXPECT_EQ(Pixel(image, grid.Cell(ColAmount, 1).center()), Qc(clHighlight));
    EXPECT_EQ(Pixel(image, grid.Cell(ColAmount, BobRow).center()), Qc(clWindow));
}

TEST(PaintData, SelectedRecordsAndAllAreHighlighted)
{
    TPaintGrid grid;
    grid.G().SetOptions(grid.G().Options() + dgMultiSelect);
    grid.Table->MoveBy(1);
    grid.G().SelectedRecords().SetCurrentRowSelected(true);
    grid.Table->MoveBy(-1);
    QImage image = grid.Render();
    for (int col : {ColId, ColName, ColAmount})
        EXPECT_EQ(Pixel(image, grid.Cell(col, BobRow).adjusted(2, 2, -2, -2).topLeft()), Qc(clHighlight)) << col;
    EXPECT_EQ(Pixel(image, grid.Cell(ColAmount, 3).center()), Qc(clWindow));

    grid.G().Selection().SelectAll();
    image = grid.Render();
    EXPECT_EQ(Pixel(image, grid.Cell(ColAmount, 3).center()), Qc(clHighlight));
    EXPECT_EQ(Pixel(image, grid.Cell(ColNotes, 3).center()), Qc(clHighlight));
}

TEST(PaintData, TextStartsAtDxAndDy)
{
    TPaintGrid grid;
    const TInk ink = InkOf("Bob");
    QRect cell = grid.Cell(ColName, BobRow);
    EXPECT_EQ(FirstInk(grid.Render(), cell, Qc(clWindow)), cell.topLeft() + QPoint(2, 2) + ink.First);

    grid.G().SetFlat(true);
    cell = grid.Cell(ColName, BobRow);
    EXPECT_EQ(FirstInk(grid.Render(), cell, Qc(clWindow)), cell.topLeft() + QPoint(2, 1) + ink.First)
        << "flat: one pixel higher";

    // 3D data cells: one pixel inside the frame, DX = 1 and DY = 0 (flat).
    grid.G().SetOptionsGx(grid.G().OptionsGx() + dghData3D);
    QRect content = grid.Cell(ColName, BobRow).adjusted(1, 1, -1, -1);
    EXPECT_EQ(FirstInk(grid.Render(), content, Qc(clWindow)), content.topLeft() + QPoint(1, 0) + ink.First);

    grid.G().SetFlat(false);
    content = grid.Cell(ColName, BobRow).adjusted(1, 1, -1, -1);
    QImage image = grid.Render();
    EXPECT_EQ(FirstInk(image, content, Qc(clWindow)), content.topLeft() + QPoint(1, 1) + ink.First);
    // The raised frame: highlight on the top and left, shadow on the bottom and right.
    const QRect frame = grid.Cell(ColName, BobRow);
    EXPECT_EQ(Pixel(image, frame.topLeft()), Qc(clBtnHighlight));
    EXPECT_EQ(Pixel(image, frame.bottomRight()), Qc(clBtnShadow));
}

TEST(PaintData, RightAlignedTextEndsThreePixelsBeforeTheEdge)
{
    TPaintGrid grid;
    const TInk ink = InkOf("2");
    const QRect cell = grid.Cell(ColId, BobRow);
    const int right = cell.x() + cell.width();
    EXPECT_EQ(LastInkX(grid.Render(), cell, Qc(clWindow)), right - 3 + ink.LastFromAdvance);
}

TEST(PaintData, EndEllipsisFitsTheCell)
{
    TPaintGrid grid;
    grid.Table->MoveBy(1);
    grid.Table->Edit();
    grid.Table->FieldByName("NAME")->SetAsString("Bartholomew Jones");
    grid.Table->Post();
    grid.Table->MoveBy(-1);
    TColumnGx& name = grid.Column(ColName);
    name.SetWidth(60);
    name.SetEndEllipsis(true);

    // The shortened text: characters taken off the end until it fits the
    // width less DX together with "...".
    const QFontMetrics metrics(PaintTestFont());
    const QString full = "Bartholomew Jones";
    QString expected = full;
    while (!expected.isEmpty() && metrics.horizontalAdvance(expected + "...") > 60 - 2)
        expected.chop(1);
    expected += "...";
    ASSERT_LT(expected.size(), full.size());

    const QRect cell = grid.Cell(ColName, BobRow);
    const QImage image = grid.Render();
    const TInk ink = InkOf(expected);
    const int lastInk = LastInkX(image, cell, Qc(clWindow));
    EXPECT_EQ(lastInk, cell.x() + 2 + metrics.horizontalAdvance(expected) + ink.LastFromAdvance);
    EXPECT_LT(lastInk, cell.x() + cell.width());
    EXPECT_EQ(FirstInk(image, cell, Qc(clWindow)), cell.topLeft() + QPoint(2, 2) + ink.First);

    // Without end ellipsis the text runs to the edge and is cut there.
    name.SetEndEllipsis(false);
    EXPECT_EQ(LastInkX(grid.Render(), cell, Qc(clWindow)), cell.x() + cell.width() - 1);
}

TEST(PaintData, MultiLineRowsWrapWords)
{
    TPaintGrid grid;
    grid.Table->MoveBy(1);
    grid.Table->Edit();
    grid.Table->FieldByName("NAME")->SetAsString("Anna Lee Smith");
    grid.Table->Post();
    grid.Table->MoveBy(-1);
    grid.Column(ColName).SetWidth(60);
    auto inkLines = [&](const QImage& image) {
        const QRect cell = grid.Cell(ColName, BobRow);
        int runs = 0;
        bool inRun = false;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            bool ink = false;
            for (int x = cell.left(); x <= cell.right(); ++x)
                ink = ink || Pixel(image, x, y) != Qc(clWindow);
            runs += ink && !inRun;
            inRun = ink;
        }
        return runs;
    };
    EXPECT_EQ(inkLines(grid.Render()), 1) << "one text line per row: no wrapping";
    grid.G().SetRowLines(3);
    ASSERT_TRUE(grid.G().MultiLine());
    EXPECT_GE(inkLines(grid.Render()), 2) << "the words wrap in a multi-line row";
    grid.Column(ColName).SetWordWrap(false);
    EXPECT_EQ(inkLines(grid.Render()), 1);
}

TEST(PaintData, CheckBoxNarrowerThanTheCheckSizeSpansTheCell)
{
    TPaintGrid grid;
    const QSize check = GridPaintResources().CheckSize();
    TColumnGx& active = grid.Column(ColActive);
    active.SetWidth(check.width() - 4);
    QImage image = grid.Render();
    QRect cell = grid.Cell(ColActive, BobRow);
    const int middle = cell.center().y();
    EXPECT_NE(Pixel(image, cell.x(), middle), Qc(clWindow)) << "the box's left edge at the cell's left";
    // The box's outer ring is white on the right and bottom: its inner ring
    // shows one pixel before the cell's right edge.
    EXPECT_NE(Pixel(image, cell.x() + cell.width() - 2, middle), Qc(clWindow)) << "and its right edge at the right";

    active.SetWidth(40);
    image = grid.Render();
    cell = grid.Cell(ColActive, BobRow);
    const QPoint box = FirstInk(image, cell, Qc(clWindow));
    EXPECT_EQ(box.x(), cell.x() + (cell.width() - check.width()) / 2) << "a check-size box, centred";
    EXPECT_EQ(LastInkX(image, cell, Qc(clWindow)), box.x() + check.width() - 2);
}

TEST(PaintData, KeyImageListShowsTheImageOfTheKey)
{
    TPaintGrid grid;
    TImageList images(6, 6);
    for (QColor color : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
        QPixmap pixmap(6, 6);
        pixmap.fill(color);
        images.Add(pixmap);
    }
    TColumnGx& code = grid.Column(ColCode);
    code.SetWidth(30);
    code.SetKeyList({"Y", "y", "N"});
    code.SetImageList(&images);
    const QImage image = grid.Render();
    EXPECT_EQ(CountColor(image, grid.Cell(ColCode, BobRow), QColor(Qt::green)), 36) << "Bob's code is y";
    EXPECT_EQ(CountColor(image, grid.Cell(ColCode, 3), QColor(Qt::blue)), 36);
    code.SetImageList(nullptr);
}

TEST(PaintData, AlwaysShownEditButtonTakesTheRightOfTheCell)
{
    TPaintGrid grid;
    TColumnGx& name = grid.Column(ColName);
    name.SetButtonStyle(cbsEllipsis);
    name.SetAlwaysShowEditButton(true);
    const QImage image = grid.Render();
    const QRect cell = grid.Cell(ColName, BobRow);
    const int buttonWidth = grid.G().EditButtonWidth();
    const QRect button(cell.x() + cell.width() - buttonWidth, cell.y(), buttonWidth, grid.G().EditButtonHeight());
    EXPECT_GT(CountColor(image, button, Qc(clBtnFace)), button.width() * button.height() / 3);
    const QRect text(cell.x(), cell.y(), cell.width() - buttonWidth, cell.height());
    EXPECT_EQ(CountColor(image, text, Qc(clBtnFace)), 0);
}

TEST(PaintData, CellParamEventsRunGridFirstThenColumn)
{
    TPaintGrid grid;
    std::vector<std::string> calls;
    grid.G().OnGetCellParams = [&](TCustomDBGridGx&, TColumnGx& column, TFontGx& font, TColor& background,
                                   TGridDrawState) {
        if (column.FieldName() != "NAME")
            return;
        calls.push_back("grid");
        background = clAqua;
        font.SetColor(clRed);
    };
    grid.Column(ColName).SetOnGetCellParams([&](TColumnGx&, bool editMode, TColCellParamsGx& params) {
        EXPECT_FALSE(editMode);
        calls.push_back(params.Background == clAqua ? "column after grid" : "column first");
        if (params.Text == "Bob")
            params.Background = clYellow;
    });
    const QImage image = grid.Render();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0], "grid");
    EXPECT_EQ(calls[1], "column after grid");
    EXPECT_EQ(Pixel(image, grid.Cell(ColName, BobRow).center()), Qc(clYellow));
    EXPECT_EQ(Pixel(image, grid.Cell(ColName, 3).center()), Qc(clAqua));
    EXPECT_GT(CountColor(image, grid.Cell(ColName, BobRow), Qc(clRed)), 0);
}

TEST(PaintData, DrawEventsGetTheTextRectangle)
{
    TPaintGrid grid;
    std::vector<QRect> columnCells;
    int dataCells = 0;
    grid.G().OnDrawColumnCell = [&](TCustomDBGridGx& sender, const QRect& rect, int dataCol, TColumnGx&,
                                    TGridDrawState) {
        if (dataCol == ColName) {
            columnCells.push_back(rect);
            sender.Canvas().fillRect(rect.adjusted(2, 2, -2, -2), Qt::magenta);
        }
    };
    grid.G().OnDrawDataCell = [&](TCustomDBGridGx&, const QRect&, TField*, TGridDrawState) { ++dataCells; };
    const QImage image = grid.Render();
    EXPECT_EQ(Pixel(image, grid.Cell(ColName, BobRow).center()), QColor(Qt::magenta));
    EXPECT_FALSE(columnCells.empty());
    EXPECT_GT(dataCells, 0) << "default columns";

    TColumnGx* user = grid.G().Columns().Add();
    user->SetFieldName("NAME");
    dataCells = 0;
    grid.Render();
    EXPECT_EQ(dataCells, 0) << "not for a customized collection";
}

TEST(PaintData, IncrementalSearchTextIsWrittenOverTheCurrentCell)
{
    TPaintGrid grid;
    grid.G().SetCol(grid.G().DataToRawColumn(ColName));
    const QRect cell = grid.Cell(ColName, 1);
    EXPECT_EQ(CountColor(grid.Render(), cell, Qc(clYellow)), 0);
    grid.G().Keyboard().IncSearch().Step("An", TDBGridGxIncSearch::NoTimeout, TDBGridGxIncSearch::isdNone);
    ASSERT_EQ(grid.G().Keyboard().IncSearchText(), "An");
    const QImage image = grid.Render();
    const int yellow = CountColor(image, cell, Qc(clYellow));
    EXPECT_GT(yellow, 0);
    // Only behind the search text: the rest of the cell keeps its highlight.
    const QFontMetrics metrics(PaintTestFont());
    EXPECT_LE(yellow, (metrics.horizontalAdvance("An") + 1) * (metrics.height() + 1));
    EXPECT_EQ(Pixel(image, cell.x() + cell.width() - 4, cell.center().y()), Qc(clHighlight));
    EXPECT_EQ(CountColor(image, grid.Cell(ColName, BobRow), Qc(clYellow)), 0) << "only the current cell";
}

}  // namespace
