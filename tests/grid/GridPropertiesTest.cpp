// The grid's own settings: their values after construction, which of them
// lay the grid out again and which only repaint, the values they refuse,
// and the title and footer fonts' layout rules.

#include "GridTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(GridProperties, ValuesAfterConstruction)
{
    TDBGridGx grid;
    EXPECT_EQ(grid.AllowedOperations(), (TDBGridGxAllowedOperations{alopInsertGx, alopUpdateGx, alopDeleteGx,
                                                                     alopAppendGx}));
    EXPECT_EQ(grid.AllowedSelections(), (TDBGridGxAllowedSelections{gstRecordBookmarks, gstRectangle, gstColumns,
                                                                     gstAll}));
    EXPECT_FALSE(grid.AutoFitColWidths());
    EXPECT_EQ(grid.BorderStyle(), bsSingle);
    EXPECT_EQ(grid.Color(), clWindow);
    EXPECT_FALSE(grid.ParentColor());
    EXPECT_EQ(grid.DataSource(), nullptr);
    EXPECT_TRUE(grid.DefaultDrawing());
    EXPECT_FALSE(grid.DrawMemoText());
    EXPECT_TRUE(grid.EditActions().Empty());
    EXPECT_EQ(grid.FixedColor(), clBtnFace);
    EXPECT_FALSE(grid.Flat());
    EXPECT_EQ(grid.FooterColor(), clWindow);
    EXPECT_EQ(grid.FooterRowCount(), 0);
    EXPECT_EQ(grid.FrozenCols(), 0);
    EXPECT_TRUE(grid.HorzScrollBar().Visible());
    EXPECT_FALSE(grid.HorzScrollBar().Tracking());
    EXPECT_TRUE(grid.VertScrollBar().Visible());
    EXPECT_FALSE(grid.VertScrollBar().Tracking());
    EXPECT_EQ(grid.MinAutoFitWidth(), 0);
    EXPECT_EQ(grid.Options(), (TDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines,
                                              dgRowLines, dgTabs, dgConfirmDelete, dgCancelOnExit}));
    EXPECT_EQ(grid.OptionsGx(), (TDBGridGxOptions{dghFixed3D, dghHighlightFocus, dghClearSelection}));
    EXPECT_FALSE(grid.ReadOnly());
    EXPECT_EQ(grid.RowHeight(), 0);
    EXPECT_EQ(grid.RowLines(), 0);
    EXPECT_FALSE(grid.RowSizingAllowed());
    EXPECT_EQ(grid.TitleHeight(), 0);
    EXPECT_EQ(grid.TitleImages(), nullptr);
    EXPECT_EQ(grid.TitleLines(), 0);
    EXPECT_FALSE(grid.UseMultiTitle());
    EXPECT_EQ(grid.VTitleMargin(), 10);
    EXPECT_TRUE(grid.ParentFont());
    EXPECT_EQ(grid.TitleFont(), grid.Font());
    EXPECT_EQ(grid.FooterFont(), grid.Font());
}

struct TSetting {
    const char* Name;
    std::function<void(TDBGridGx&)> Change;
};

class SettingEffects : public ::testing::Test {
protected:
    // Layout passes a change runs (after the grid has settled).
    int PassesOf(const TSetting& setting)
    {
        const int before = Grid.LayoutPassCount();
        setting.Change(Grid);
        return Grid.LayoutPassCount() - before;
    }
    TDBGridGx Grid;
};

TEST_F(SettingEffects, ShapeSettingsRunOneLayoutPass)
{
    const TSetting settings[] = {
        {"Flat", [](TDBGridGx& g) { g.SetFlat(true); }},
        {"FrozenCols", [](TDBGridGx& g) { g.SetFrozenCols(1); }},
        {"RowHeight", [](TDBGridGx& g) { g.SetRowHeight(30); }},
        {"RowLines", [](TDBGridGx& g) { g.SetRowLines(2); }},
        {"TitleHeight", [](TDBGridGx& g) { g.SetTitleHeight(4); }},
        {"TitleLines", [](TDBGridGx& g) { g.SetTitleLines(2); }},
        {"MinAutoFitWidth", [](TDBGridGx& g) { g.SetMinAutoFitWidth(300); }},
        {"VTitleMargin", [](TDBGridGx& g) { g.SetVTitleMargin(6); }},
        {"UseMultiTitle", [](TDBGridGx& g) { g.SetUseMultiTitle(true); }},
        {"AutoFitColWidths", [](TDBGridGx& g) { g.SetAutoFitColWidths(true); }},
        {"FooterRowCount", [](TDBGridGx& g) { g.SetFooterRowCount(2); }},
        {"OptionsGx", [](TDBGridGx& g) { g.SetOptionsGx(g.OptionsGx() + dghFrozen3D); }},
        {"Options dgRowLines", [](TDBGridGx& g) { g.SetOptions(g.Options() - dgRowLines); }},
        {"Options dgAlwaysShowSelection", [](TDBGridGx& g) { g.SetOptions(g.Options() + dgAlwaysShowSelection); }},
        {"HorzScrollBar.Visible", [](TDBGridGx& g) { g.HorzScrollBar().SetVisible(false); }},
    };
    for (const TSetting& setting : settings)
        EXPECT_EQ(PassesOf(setting), 1) << setting.Name;
    // Setting the same values again changes nothing.
    for (const TSetting& setting : settings)
        EXPECT_EQ(PassesOf(setting), 0) << setting.Name << " again";
}

TEST_F(SettingEffects, LookAndBehaviourSettingsOnlyRepaint)
{
    const TSetting settings[] = {
        {"ReadOnly", [](TDBGridGx& g) { g.SetReadOnly(true); }},
        {"DrawMemoText", [](TDBGridGx& g) { g.SetDrawMemoText(true); }},
        {"FooterColor", [](TDBGridGx& g) { g.SetFooterColor(clYellow); }},
        {"ParentColor", [](TDBGridGx& g) { g.SetParentColor(true); }},
        {"RowSizingAllowed", [](TDBGridGx& g) { g.SetRowSizingAllowed(true); }},
        {"AllowedOperations", [](TDBGridGx& g) { g.SetAllowedOperations({alopUpdateGx}); }},
        {"EditActions", [](TDBGridGx& g) { g.SetEditActions({geaCopyGx}); }},
        {"Options dgConfirmDelete", [](TDBGridGx& g) { g.SetOptions(g.Options() - dgConfirmDelete); }},
        {"Options dgColumnResize", [](TDBGridGx& g) { g.SetOptions(g.Options() - dgColumnResize); }},
        {"FooterFont without footers", [](TDBGridGx& g) { g.SetFooterFont(TFontGx(QFont("Serif", 21))); }},
    };
    for (const TSetting& setting : settings)
        EXPECT_EQ(PassesOf(setting), 0) << setting.Name;
}

TEST_F(SettingEffects, FooterColorFollowsColorOnlyWhileParentColorIsOn)
{
    Grid.SetFooterColor(clYellow);
    EXPECT_EQ(Grid.FooterColor(), clYellow);
    Grid.SetParentColor(true);
    Grid.SetColor(clAqua);
    EXPECT_EQ(Grid.FooterColor(), clAqua);
    // A footer colour of its own turns the following off.
    Grid.SetFooterColor(clLime);
    EXPECT_FALSE(Grid.ParentColor());
    EXPECT_EQ(Grid.FooterColor(), clLime);
}

TEST_F(SettingEffects, RefusedAndCorrectedValues)
{
    Grid.SetFooterRowCount(2);
    Grid.SetFooterRowCount(-1);
    EXPECT_EQ(Grid.FooterRowCount(), 2);
    Grid.SetFrozenCols(1);
    Grid.SetFrozenCols(-4);
    EXPECT_EQ(Grid.FrozenCols(), 1);
    Grid.SetRowHeight(-2);
    Grid.SetRowLines(-2);
    EXPECT_EQ(Grid.RowHeight(), 0);
    EXPECT_EQ(Grid.RowLines(), 0);
}

TEST_F(SettingEffects, TitleAndFooterFontsOfTheUsersOwnFollowTheirLayoutRules)
{
    const TFontGx serif(QFont("Serif", 19));
    Grid.SetTitleFont(serif);
    EXPECT_FALSE(Grid.ParentFont());
    EXPECT_EQ(Grid.TitleFont(), serif);

    // Titles shown: a new title font lays the grid out; hidden: it repaints.
    EXPECT_EQ(PassesOf({"TitleFont", [](TDBGridGx& g) { g.SetTitleFont(TFontGx(QFont("Serif", 23))); }}), 1);
    Grid.SetOptions(Grid.Options() - dgTitles);
    EXPECT_EQ(PassesOf({"TitleFont", [](TDBGridGx& g) { g.SetTitleFont(TFontGx(QFont("Serif", 9))); }}), 0);

    // Footers shown: a new footer font lays the grid out.
    Grid.SetFooterRowCount(1);
    EXPECT_EQ(PassesOf({"FooterFont", [](TDBGridGx& g) { g.SetFooterFont(TFontGx(QFont("Serif", 9))); }}), 1);

    // Following the parent again copies the grid's font into both, in one pass.
    EXPECT_EQ(PassesOf({"ParentFont", [](TDBGridGx& g) { g.SetParentFont(true); }}), 1);
    EXPECT_EQ(Grid.TitleFont(), Grid.Font());
    EXPECT_EQ(Grid.FooterFont(), Grid.Font());
}

}  // namespace
