// Where the mouse acts on titles: the sizing zone at the client's right
// edge when frozen columns overflow the grid, sizing zones under
// right-to-left reading (on the mirrored borders), presses and title tips
// on a column's own title versus the group captions above it under
// multi-level titles, and a column's pop-up menu with and without its
// automatic pop-up.

#include "MouseTestSupport.h"

#include "grid/columns/ColumnTitleGx.h"
#include "grid/input/PopupMenuFlagsGx.h"
#include "grid/paint/GridPaintResources.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include <QMenu>

#include <gtest/gtest.h>

namespace {

// A grid over the sample table (ID, NAME, ACTIVE, CODE, NOTES, AMOUNT).
struct TZoneGrid {
    TBoundGrid Bound;
    explicit TZoneGrid(int width = 560, Qt::LayoutDirection direction = Qt::LeftToRight)
    {
        Bound.Grid->SetBorderStyle(bsNone);
        Bound.Grid->setLayoutDirection(direction);
        ShowActiveGrid(*Bound.Grid, width, 200);
    }
    TCustomDBGridGx& G() { return *Bound.Grid; }
    TColumnGx& Column(int dataCol) { return *G().Columns()[dataCol]; }
    int Raw(int dataCol) { return G().DataToRawColumn(dataCol); }
    Qt::CursorShape CursorAt(QPoint at)
    {
        QTest::mouseMove(Client(G()), at);
        return Client(G())->cursor().shape();
    }
};

TEST(MouseZones, FrozenColumnsOverflowingTheGridAreSizedAtTheClientsRightEdge)
{
    TZoneGrid t(240);
    t.Column(0).SetWidth(120);
    t.Column(1).SetWidth(200);
    t.G().SetFrozenCols(2);
    const int right = t.G().ClientWidth();
    ASSERT_GT(t.G().CellRect(t.Raw(1), 0).left() + 200, right) << "the second frozen column is cut";
    const int y = TitlePoint(t.G(), t.Raw(0)).y();
    EXPECT_EQ(t.CursorAt(QPoint(right - 2, y)), Qt::SplitHCursor);
    EXPECT_NE(t.CursorAt(QPoint(right - 30, y)), Qt::SplitHCursor) << "inside the cut column";

    const int left = t.G().CellRect(t.Raw(1), 0).left();
    DragTo(t.G(), QPoint(right - 2, y), QPoint(right - 42, y));
    EXPECT_EQ(t.Column(1).Width(), right - 40 - left) << "the border follows the pointer from the edge";
    EXPECT_EQ(t.Column(0).Width(), 120);
}

TEST(MouseZones, UnderRightToLeftReadingTheZonesFollowTheMirroredBorders)
{
    TZoneGrid t(560, Qt::RightToLeft);
    ASSERT_GT(TitlePoint(t.G(), t.Raw(0)).x(), TitlePoint(t.G(), t.Raw(1)).x()) << "cells right to left";

    // A frozen column's border, left of the column, without and with
    // traced sizing: moving it leftwards widens the column.
    t.G().SetFrozenCols(1);
    const int before = t.Column(0).Width();
    const QPoint border = TitleBorder(t.G(), t.Raw(0));
    EXPECT_EQ(t.CursorAt(border), Qt::SplitHCursor);
    DragTo(t.G(), border, border - QPoint(20, 0));
    EXPECT_EQ(t.Column(0).Width(), before + 20);

    t.G().SetOptionsGx(t.G().OptionsGx() + dghTraceColSizing);
    const QPoint traced = TitleBorder(t.G(), t.Raw(0));
    QTest::mousePress(Client(t.G()), Qt::LeftButton, {}, traced);
    QTest::mouseMove(Client(t.G()), traced + QPoint(10, 0));
    EXPECT_EQ(t.Column(0).Width(), before + 10) << "applied while the mouse moves";
    QTest::mouseRelease(Client(t.G()), Qt::LeftButton, {}, traced + QPoint(10, 0));

    // A scrollable column's border, traced.
    const int nameWidth = t.Column(2).Width();
    const QPoint nameBorder = TitleBorder(t.G(), t.Raw(2));
    DragTo(t.G(), nameBorder, nameBorder - QPoint(15, 0));
    EXPECT_EQ(t.Column(2).Width(), nameWidth + 15);
}

TEST(MouseZones, TheRowArrowOverTheIndicatorPointsTowardsTheCells)
{
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        TZoneGrid t(560, direction);
        t.G().SetOptions(t.G().Options() + dgMultiSelect);
        QTest::mouseMove(Client(t.G()), CellCentre(t.G(), 0, t.G().TitleRows() + 1));
        const QCursor& arrow = direction == Qt::RightToLeft ? GridPaintResources().LeftCursor()
                                                            : GridPaintResources().RightCursor();
        EXPECT_EQ(Client(t.G())->cursor().hotSpot(), arrow.hotSpot()) << "the program's own arrow";
        EXPECT_EQ(Client(t.G())->cursor().pixmap().toImage(), arrow.pixmap().toImage());
        const QRect title = t.G().CellRect(t.Raw(1), 0);
        QTest::mouseMove(Client(t.G()), QPoint(title.center().x(), title.bottom() - 2));
        EXPECT_EQ(Client(t.G())->cursor().hotSpot(), GridPaintResources().DownCursor().hotSpot());
    }
}

// Two columns under one group caption, both title buttons.
struct TGroupedTitles : TZoneGrid {
    std::vector<int> Clicks;
    TGroupedTitles()
    {
        Column(0).Title()->SetCaption("Group|First");
        Column(1).Title()->SetCaption("Group|Second");
        Column(0).Title()->SetTitleButton(true);
        Column(1).Title()->SetTitleButton(true);
        G().SetUseMultiTitle(true);
        G().OnTitleBtnClick = [this](TCustomDBGridGx&, int dataCol, TColumnGx&) { Clicks.push_back(dataCol); };
    }
    QPoint OnLeaf(int dataCol)
    {
        const QRect cell = G().CellRect(Raw(dataCol), 0);
        return QPoint(cell.center().x(), G().TitleTree().LeafTop(dataCol, cell) + 2);
    }
    QPoint OnGroup(int dataCol)
    {
        const QRect cell = G().CellRect(Raw(dataCol), 0);
        return QPoint(cell.center().x(), cell.top() + 2);
    }
};

TEST(MouseZones, UnderMultiLevelTitlesOnlyTheLeafPartOfATitleIsItsButton)
{
    TGroupedTitles t;
    ASSERT_GT(t.OnLeaf(1).y(), t.OnGroup(1).y() + 4) << "the group caption takes the upper band";

    QTest::mousePress(Client(t.G()), Qt::LeftButton, {}, t.OnGroup(1));
    EXPECT_EQ(t.G().Mouse().PressedTitleCol(), -1) << "a group caption is no button";
    QTest::mouseRelease(Client(t.G()), Qt::LeftButton, {}, t.OnGroup(1));
    EXPECT_TRUE(t.Clicks.empty());

    QTest::mousePress(Client(t.G()), Qt::LeftButton, {}, t.OnLeaf(1));
    EXPECT_EQ(t.G().Mouse().PressedTitleCol(), 1);
    QTest::mouseMove(Client(t.G()), t.OnGroup(1));
    EXPECT_EQ(t.G().Mouse().PressedTitleCol(), -1) << "drawn up over the group caption";
    QTest::mouseMove(Client(t.G()), t.OnLeaf(1));
    EXPECT_EQ(t.G().Mouse().PressedTitleCol(), 1);
    QTest::mouseRelease(Client(t.G()), Qt::LeftButton, {}, t.OnLeaf(1));
    EXPECT_EQ(t.Clicks, std::vector<int>{1});

    // Released over the group caption: no click.
    QTest::mousePress(Client(t.G()), Qt::LeftButton, {}, t.OnLeaf(0));
    QTest::mouseRelease(Client(t.G()), Qt::LeftButton, {}, t.OnGroup(0));
    EXPECT_EQ(t.Clicks, std::vector<int>{1});

    // Without multi-level titles the whole cell is the button.
    t.G().SetUseMultiTitle(false);
    Click(t.G(), TitlePoint(t.G(), t.Raw(0)));
    EXPECT_EQ(t.Clicks, (std::vector<int>{1, 0}));
}

TEST(MouseZones, UnderMultiLevelTitlesATitleTipShowsOnlyOverTheColumnsOwnCaption)
{
    TGroupedTitles t;
    TColumnTitleGx& title = *t.Column(0).Title();
    title.SetCaption("Group|Uninterruptible");
    title.SetToolTips(true);
    t.Column(0).SetWidth(40);
    const TDBGridGxToolTips& tips = t.G().Mouse().ToolTips();

    QTest::mouseMove(Client(t.G()), t.OnLeaf(0));
    EXPECT_EQ(tips.ShownText(), "Uninterruptible") << "the column's own caption, without its group's";
    const TGridToolTipGx tip = tips.TipAt(t.OnLeaf(0).x(), t.OnLeaf(0).y());
    EXPECT_EQ(tip.Area.top(), t.G().TitleTree().LeafTop(0, t.G().CellRect(t.Raw(0), 0))) << "laid over the leaf";

    QTest::mouseMove(Client(t.G()), t.OnGroup(0));
    EXPECT_TRUE(tips.ShownText().isEmpty()) << "over the group caption";
    EXPECT_TRUE(tips.TipAt(t.OnGroup(0).x(), t.OnGroup(0).y()).Text.isEmpty());

    // A column's own caption that fits shows nothing, however long its group's.
    title.SetCaption("A group caption far too long for one column|Id");
    t.Column(0).SetWidth(60);
    QTest::mouseMove(Client(t.G()), t.OnLeaf(0));
    EXPECT_TRUE(tips.ShownText().isEmpty());
}

TEST(MouseZones, AColumnsMenuPopsUpByItselfOnlyWithItsAutomaticPopUp)
{
    TZoneGrid t;
    QMenu menu;
    menu.addAction("Sort");
    t.Column(2).SetPopupMenu(&menu);
    EXPECT_TRUE(MenuAutoPopup(menu)) << "on until turned off";
    SetMenuAutoPopup(menu, false);
    const QPoint cell = CellCentre(t.G(), t.Raw(2), t.G().TitleRows() + 1);
    Click(t.G(), cell, {}, Qt::RightButton);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(MenuPopupComponent(menu), nullptr);

    SetMenuAutoPopup(menu, true);
    Click(t.G(), cell, {}, Qt::RightButton);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(MenuPopupComponent(menu), &t.G()) << "the grid popped it up";
    menu.hide();

    // Over the title of the column too.
    Click(t.G(), TitlePoint(t.G(), t.Raw(2)), {}, Qt::RightButton);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

}  // namespace
