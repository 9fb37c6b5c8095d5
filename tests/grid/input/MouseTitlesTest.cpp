// Titles and sizing by mouse: title buttons clicked versus dragged, sort
// marking cycles with and without Ctrl, column sizing (traced, frozen,
// auto-fit), moving columns, row sizing over the indicator, tool tips and
// column pop-up menus.

#include "MouseTestSupport.h"

#include "grid/columns/ColumnTitleGx.h"
#include "grid/input/DBGridGxKeyboard.h"

#include <QMenu>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

// A grid over the sample table (ID, NAME, ACTIVE, CODE, NOTES, AMOUNT).
struct TTitleGrid {
    TBoundGrid Bound;
    explicit TTitleGrid(int width = 560)
    {
        Bound.Grid->SetBorderStyle(bsNone);
        ShowActiveGrid(*Bound.Grid, width, 200);
    }
    TCustomDBGridGx& G() { return *Bound.Grid; }
    TColumnGx& Column(int dataCol) { return *G().Columns()[dataCol]; }
    int Raw(int dataCol) { return G().DataToRawColumn(dataCol); }
};

TEST(MouseTitles, ATitleButtonClicksOnlyWhenReleasedOverItsOwnTitle)
{
    TTitleGrid t;
    t.Column(1).Title()->SetTitleButton(true);
    std::vector<int> clicks;
    t.G().OnTitleBtnClick = [&](TCustomDBGridGx&, int dataCol, TColumnGx&) { clicks.push_back(dataCol); };

    QTest::mousePress(Client(t.G()), Qt::LeftButton, {}, TitlePoint(t.G(), t.Raw(1)));
    EXPECT_EQ(t.G().Mouse().PressedTitleCol(), 1) << "drawn pressed";
    QTest::mouseRelease(Client(t.G()), Qt::LeftButton, {}, TitlePoint(t.G(), t.Raw(1)));
    EXPECT_EQ(clicks, std::vector<int>{1});
    EXPECT_EQ(t.G().Mouse().PressedTitleCol(), -1);

    // Released over the data: no click.
    QTest::mousePress(Client(t.G()), Qt::LeftButton, {}, TitlePoint(t.G(), t.Raw(1)));
    QTest::mouseRelease(Client(t.G()), Qt::LeftButton, {}, CellCentre(t.G(), t.Raw(1), 2));
    EXPECT_EQ(clicks.size(), 1u);

    // OnCheckButton may refuse the button.
    t.G().OnCheckButton = [](TCustomDBGridGx&, int, TColumnGx*, bool& enabled) { enabled = false; };
    Click(t.G(), TitlePoint(t.G(), t.Raw(1)));
    EXPECT_EQ(clicks.size(), 1u);
}

TEST(MouseTitles, DraggingATitleMoreThanThreePixelsMovesTheColumn)
{
    TTitleGrid t;
    t.Column(0).Title()->SetTitleButton(true);
    int buttonClicks = 0;
    std::vector<std::pair<int, int>> moves;
    t.G().OnTitleBtnClick = [&](TCustomDBGridGx&, int, TColumnGx&) { ++buttonClicks; };
    t.G().OnColumnMoved = [&](TCustomDBGridGx&, int from, int to) { moves.push_back({from, to}); };

    // Three pixels is still a click.
    const QPoint from = TitlePoint(t.G(), t.Raw(0));
    DragTo(t.G(), from, from + QPoint(3, 0));
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(t.Column(0).FieldName(), "ID");

    DragTo(t.G(), from, TitlePoint(t.G(), t.Raw(2)), {}, 8);
    EXPECT_EQ(buttonClicks, 1);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], std::make_pair(0, 2));
    EXPECT_EQ(t.Column(0).FieldName(), "NAME");
    EXPECT_EQ(t.Column(2).FieldName(), "ID");
}

TEST(MouseTitles, AutoSortMarkingCyclesAndCtrlKeepsTheOtherMarkers)
{
    TTitleGrid t;
    t.G().SetOptionsGx(t.G().OptionsGx() + dghAutoSortMarking + dghMultiSortMarking);
    t.Column(0).Title()->SetTitleButton(true);
    t.Column(1).Title()->SetTitleButton(true);
    int changes = 0;
    t.G().OnSortMarkingChanged = [&] { ++changes; };
    TColumnTitleGx& id = *t.Column(0).Title();
    TColumnTitleGx& name = *t.Column(1).Title();

    const TSortMarkerGx plain[] = {smDownGx, smUpGx, smDownGx};
    for (TSortMarkerGx expected : plain) {
        Click(t.G(), TitlePoint(t.G(), t.Raw(0)));
        EXPECT_EQ(id.SortMarker(), expected);
    }
    EXPECT_EQ(changes, 3) << "fired at once without Ctrl";
    EXPECT_FALSE(t.G().Keyboard().SortMarkingPending());

    const TSortMarkerGx withCtrl[] = {smDownGx, smUpGx, smNoneGx};
    for (TSortMarkerGx expected : withCtrl) {
        Click(t.G(), TitlePoint(t.G(), t.Raw(1)), Qt::ControlModifier);
        EXPECT_EQ(name.SortMarker(), expected);
        EXPECT_EQ(id.SortMarker(), smDownGx) << "Ctrl keeps the other markers";
    }
    EXPECT_EQ(changes, 3) << "left for the release of Ctrl";
    EXPECT_TRUE(t.G().Keyboard().SortMarkingPending());

    Click(t.G(), TitlePoint(t.G(), t.Raw(1)));
    EXPECT_EQ(name.SortMarker(), smDownGx);
    EXPECT_EQ(id.SortMarker(), smNoneGx) << "a plain click clears the others";
}

TEST(MouseTitles, DraggingATitleBorderSizesTheColumn)
{
    TTitleGrid t;
    int widthEvents = 0;
    t.G().OnColWidthsChanged = [&](TCustomDBGridGx&) { ++widthEvents; };
    const int before = t.Column(1).Width();
    const QPoint border = TitleBorder(t.G(), t.Raw(1));
    QTest::mouseMove(Client(t.G()), border);
    EXPECT_EQ(Client(t.G())->cursor().shape(), Qt::SplitHCursor);
    DragTo(t.G(), border, border + QPoint(25, 0));
    EXPECT_EQ(t.Column(1).Width(), before + 25);
    EXPECT_EQ(t.G().ColWidths(t.Raw(1)), before + 25);
    EXPECT_GE(widthEvents, 1);

    // MaxWidth bounds what the user sizes.
    t.Column(1).SetMaxWidth(before + 30);
    const QPoint moved = TitleBorder(t.G(), t.Raw(1));
    DragTo(t.G(), moved, moved + QPoint(40, 0));
    EXPECT_EQ(t.Column(1).Width(), before + 30);
}

TEST(MouseTitles, TracedSizingAppliesTheWidthWhileTheMouseMoves)
{
    TTitleGrid t;
    t.G().SetOptionsGx(t.G().OptionsGx() + dghTraceColSizing);
    const int before = t.Column(0).Width();
    const QPoint border = TitleBorder(t.G(), t.Raw(0));
    QTest::mousePress(Client(t.G()), Qt::LeftButton, {}, border);
    QTest::mouseMove(Client(t.G()), border + QPoint(12, 0));
    EXPECT_EQ(t.Column(0).Width(), before + 12) << "before the release";
    QTest::mouseRelease(Client(t.G()), Qt::LeftButton, {}, border + QPoint(12, 0));
    EXPECT_EQ(t.Column(0).Width(), before + 12);
    EXPECT_EQ(t.G().GridState(), gsNormal);
}

TEST(MouseTitles, AFrozenColumnIsSizedByItsTitleBorder)
{
    TTitleGrid t;
    t.G().SetFrozenCols(1);
    const int before = t.Column(0).Width();
    const QPoint border = TitleBorder(t.G(), t.Raw(0));
    QTest::mouseMove(Client(t.G()), border);
    EXPECT_EQ(Client(t.G())->cursor().shape(), Qt::SplitHCursor);
    DragTo(t.G(), border, border + QPoint(20, 0));
    EXPECT_EQ(t.Column(0).Width(), before + 20);
}

TEST(MouseTitles, AutoFitSizingLeavesEveryColumnToTheRightAPixel)
{
    TTitleGrid t(400);
    t.G().SetOptionsGx(t.G().OptionsGx() + dghResizeWholeRightPart);
    t.G().SetAutoFitColWidths(true);
    const QPoint border = TitleBorder(t.G(), t.Raw(1));
    DragTo(t.G(), border, QPoint(t.G().ClientWidth() + 200, border.y()));
    const int total = t.G().ClientWidth();
    int used = 0;
    for (int raw = 0; raw < t.G().ColCount(); ++raw) {
        EXPECT_GE(t.G().ColWidths(raw), 1) << "column " << raw;
        used += t.G().ColWidths(raw);
    }
    EXPECT_LE(used, total);
    EXPECT_GT(t.Column(1).Width(), 100);
}

TEST(MouseTitles, RowSizingWorksOverTheIndicatorOnlyAndSetsEveryRow)
{
    TNumberedGrid n(20);
    TDBGridGx& grid = n.G();
    grid.SetRowSizingAllowed(true);
    grid.SetRowLines(1);
    const int row = grid.TitleRows() + 1;
    const int before = grid.RowHeights(row);
    const QRect data = grid.CellRect(1, row);
    DragTo(grid, QPoint(data.center().x(), data.bottom() + 1), QPoint(data.center().x(), data.bottom() + 11));
    EXPECT_EQ(grid.RowHeights(row), before) << "not over a data column";

    const QRect indicator = grid.CellRect(0, row);
    DragTo(grid, QPoint(indicator.center().x(), indicator.bottom() + 1),
           QPoint(indicator.center().x(), indicator.bottom() + 11));
    EXPECT_EQ(grid.RowLines(), 0);
    EXPECT_EQ(grid.RowHeight(), before + 10);
    EXPECT_EQ(grid.RowHeights(grid.TitleRows()), before + 10) << "every row takes the height";
    EXPECT_EQ(grid.RowHeights(grid.TitleRows() + 3), before + 10);
}

TEST(MouseTitles, ToolTipsShowTheWholeTextOfACutOffCellAtOnce)
{
    TTitleGrid t;
    TColumnGx& name = t.Column(1);
    name.SetToolTips(true);
    name.SetWidth(12);
    const QPoint ann = CellCentre(t.G(), t.Raw(1), t.G().TitleRows());
    QTest::mouseMove(Client(t.G()), ann);
    EXPECT_EQ(t.G().Mouse().ToolTips().ShownText(), "Ann");

    QMouseEvent ctrlMove(QEvent::MouseMove, QPointF(ann + QPoint(1, 0)), Client(t.G())->mapToGlobal(QPointF(ann)),
                         Qt::NoButton, Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(Client(t.G()), &ctrlMove);
    EXPECT_TRUE(t.G().Mouse().ToolTips().ShownText().isEmpty()) << "not while Ctrl is held";

    name.SetWidth(200);
    QTest::mouseMove(Client(t.G()), CellCentre(t.G(), t.Raw(1), t.G().TitleRows()));
    EXPECT_TRUE(t.G().Mouse().ToolTips().ShownText().isEmpty()) << "the text fits";

    TColumnGx& id = t.Column(0);
    id.Title()->SetCaption("A caption far too long for the column");
    id.Title()->SetToolTips(true);
    id.SetWidth(30);
    const TGridToolTipGx tip = t.G().Mouse().ToolTips().TipAt(TitlePoint(t.G(), t.Raw(0)).x(), 3);
    EXPECT_EQ(tip.Text, "A caption far too long for the column");
    EXPECT_TRUE(tip.AtOnce);
}

TEST(MouseTitles, ARightClickPopsTheColumnsMenuUp)
{
    TTitleGrid t;
    QMenu menu;
    menu.addAction("Sort");
    t.Column(2).SetPopupMenu(&menu);
    Click(t.G(), CellCentre(t.G(), t.Raw(1), t.G().TitleRows() + 1), {}, Qt::RightButton);
    EXPECT_FALSE(menu.isVisible()) << "another column";
    Click(t.G(), CellCentre(t.G(), t.Raw(2), t.G().TitleRows() + 1), {}, Qt::RightButton);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

}  // namespace
