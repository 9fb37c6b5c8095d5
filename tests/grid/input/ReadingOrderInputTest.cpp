// The data grid worked with mouse and keys under right-to-left reading: the
// pointer lands on the mirrored cells, sizing follows the mirrored borders,
// Left and Right swap, the editor opens over the mirrored cell with its
// buttons at the left, and tips and menus find the cell under the pointer.

#include "grid/input/InplaceEditTestSupport.h"
#include "grid/input/MouseTestSupport.h"

#include "data/FieldTypes.h"
#include "editors/EditButtonControlGx.h"
#include "grid/columns/CellEditButtonsGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/InplaceEditButtonsGx.h"

#include <QImage>
#include <QMenu>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

// The sample table (ID, NAME, ACTIVE, CODE, NOTES, AMOUNT), mirrored.
struct TMirroredGrid : TBoundGrid {
    TMirroredGrid()
    {
        Grid->SetBorderStyle(bsNone);
        Grid->setLayoutDirection(Qt::RightToLeft);
        ShowActiveGrid(*Grid, 560, 200);
    }
    TCustomDBGridGx& G() { return *Grid; }
    int Raw(int dataCol) { return Grid->DataToRawColumn(dataCol); }
    TColumnGx& Col(int dataCol) { return *Grid->Columns()[dataCol]; }
};

TEST(ReadingOrderInput, APressOnThePhysicallyRightmostDataCellSelectsTheFirstColumn)
{
    TMirroredGrid t;
    t.G().SetCol(t.Raw(3));
    const int row = t.G().TitleRows() + 1;
    const QRect indicator = t.G().ViewportRect(t.G().CellRect(0, row));
    Click(t.G(), QPoint(indicator.left() - 4, indicator.center().y()));
    EXPECT_EQ(t.G().Col(), t.Raw(0));
    EXPECT_EQ(t.Table->RecNo(), 2);
    Click(t.G(), CellCentre(t.G(), t.Raw(4), row + 1));
    EXPECT_EQ(t.G().Col(), t.Raw(4));
    EXPECT_EQ(t.Table->RecNo(), 3);
}

TEST(ReadingOrderInput, LeftMovesOnToTheNextColumnAndRightBack)
{
    TMirroredGrid t;
    t.G().SetCol(t.Raw(2));
    QTest::keyClick(t.Grid.get(), Qt::Key_Left);
    EXPECT_EQ(t.G().Col(), t.Raw(3)) << "towards the physically left neighbour";
    QTest::keyClick(t.Grid.get(), Qt::Key_Right);
    QTest::keyClick(t.Grid.get(), Qt::Key_Right);
    EXPECT_EQ(t.G().Col(), t.Raw(1));
}

TEST(ReadingOrderInput, ASizingDragOnTheMirroredBorderChangesTheWidthByTheMirroredAmount)
{
    TMirroredGrid t;
    const int nameWidth = t.Col(1).Width();
    const int idWidth = t.Col(0).Width();
    const QPoint border = TitleBorder(t.G(), t.Raw(1));
    ASSERT_LT(border.x(), CellCentre(t.G(), t.Raw(1), 0).x()) << "the border left of the column";
    DragTo(t.G(), border, border - QPoint(25, 0));
    EXPECT_EQ(t.Col(1).Width(), nameWidth + 25);
    EXPECT_EQ(t.Col(0).Width(), idWidth);
    DragTo(t.G(), TitleBorder(t.G(), t.Raw(1)), TitleBorder(t.G(), t.Raw(1)) + QPoint(40, 0));
    EXPECT_EQ(t.Col(1).Width(), nameWidth - 15);
}

TEST(ReadingOrderInput, ADragOnATitleMovesTheColumnWhereTheMarkerIsDrawn)
{
    TMirroredGrid t;
    // The ID title dragged onto CODE, physically to its left.
    DragTo(t.G(), TitlePoint(t.G(), t.Raw(0)), TitlePoint(t.G(), t.Raw(3)), {}, 8);
    EXPECT_EQ(t.Col(3).FieldName(), "ID");
}

TEST(ReadingOrderInput, TipsAndMenusFindTheCellUnderThePointer)
{
    TMirroredGrid t;
    TColumnGx& name = t.Col(1);
    name.SetToolTips(true);
    name.SetWidth(12);
    QTest::mouseMove(Client(t.G()), CellCentre(t.G(), t.Raw(1), t.G().TitleRows()));
    EXPECT_EQ(t.G().Mouse().ToolTips().ShownText(), "Ann");

    QMenu menu;
    menu.addAction("Sort");
    t.Col(2).SetPopupMenu(&menu);
    Click(t.G(), CellCentre(t.G(), t.Raw(3), t.G().TitleRows() + 1), {}, Qt::RightButton);
    EXPECT_FALSE(menu.isVisible()) << "another column";
    Click(t.G(), CellCentre(t.G(), t.Raw(2), t.G().TitleRows() + 1), {}, Qt::RightButton);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

class ReadingOrderEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        FTable.FieldDefs().Add("COUNT", ftInteger);
        FTable.FieldDefs().Add("NAME", ftString, 20);
        FTable.AppendRecord({TVariant(5), TVariant("Bob")});
        FTable.AppendRecord({TVariant(8), TVariant("Cid")});
        FTable.Open();
        FTable.First();
        FGrid.SetDataSource(&FSource);
        FGrid.SetOptions(FGrid.Options() + dgEditing);
        FGrid.Columns()[1]->SetPickList({"Ann", "Bob", "Cid", "Dan"});
        FGrid.setLayoutDirection(Qt::RightToLeft);
        ShowActiveGrid(FGrid, 500, 200);
    }
    QRect Drawn(int dataCol, int row) { return FGrid.ViewportRect(FGrid.CellRect(FGrid.DataToRawColumn(dataCol), row)); }

    TMemTable FTable;
    TDataSource FSource{&FTable};
    TEditingGrid FGrid;
};

TEST_F(ReadingOrderEditor, TheEditorOpensOverTheMirroredCellWithItsButtonsAtTheLeft)
{
    TDBGridInplaceEdit& editor = EditGridColumn(FGrid, 1);
    ASSERT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.geometry(), Drawn(1, FGrid.TitleRows()));
    const TInplaceEditButtonsGx& buttons = editor.Buttons();
    ASSERT_GT(buttons.TotalWidth(), 0);
    EXPECT_EQ(buttons.Button(0).x() + buttons.Button(0).width(), buttons.TotalWidth()) << "next to the text";
    EXPECT_EQ(editor.textMargins().left(), buttons.TotalWidth());

    // Back to left to right, the editor follows its cell.
    FGrid.setLayoutDirection(Qt::LeftToRight);
    QApplication::processEvents();
    EXPECT_EQ(editor.geometry(), FGrid.CellRect(FGrid.DataToRawColumn(1), FGrid.TitleRows()));
}

// The columns of the editor's image that hold dark text pixels.
static std::pair<int, int> InkColumns(QWidget& editor)
{
    const QImage image = editor.grab().toImage();
    int first = image.width(), last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST_F(ReadingOrderEditor, TheEditorsTextStartsAtTheCellsLeadingEdgeWhateverItsCharacters)
{
    FGrid.Columns()[1]->SetPickList({});
    FTable.Edit();
    FTable.FieldByName("NAME")->SetAsString("\u05E9\u05DC\u05D5\u05DD");   // Hebrew, read right to left
    FTable.Post();
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        FGrid.setLayoutDirection(direction);
        QApplication::processEvents();
        TDBGridInplaceEdit& editor = EditGridColumn(FGrid, 1);
        ASSERT_TRUE(editor.isVisible());
        editor.deselect();
        const auto [first, last] = InkColumns(editor);
        ASSERT_LT(first, last) << "the text is drawn";
        if (direction == Qt::LeftToRight)
            EXPECT_LT(first, editor.width() / 4) << "at the left, as the cell draws it";
        else
            EXPECT_GT(last, editor.width() * 3 / 4) << "at the right, as the mirrored cell draws it";
        FGrid.HideEditor();
    }
}

TEST_F(ReadingOrderEditor, APressOnAnAlwaysShownButtonAtTheCellsLeftOpensTheEditorThere)
{
    FGrid.Columns()[1]->SetAlwaysShowEditButton(true);
    const int row = FGrid.TitleRows() + 1;
    const QRect cell = Drawn(1, row);
    const QPoint onButton(cell.left() + 3, cell.center().y());
    QWindow& window = *FGrid.window()->windowHandle();
    const QPoint at = window.mapFromGlobal(FGrid.viewport()->mapToGlobal(onButton));
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Cid");
    ASSERT_TRUE(FGrid.Editor().isVisible());
    EXPECT_EQ(FGrid.Editor().geometry(), cell);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, at);

    // At the cell's right the press only moves there.
    FGrid.HideEditor();
    const QRect first = Drawn(1, FGrid.TitleRows());
    QTest::mouseClick(FGrid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(first.right() - 3, first.center().y()));
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Bob");
    EXPECT_FALSE(FGrid.Editor().isVisible());
}

}  // namespace
