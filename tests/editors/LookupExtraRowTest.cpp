// The special row of lookup columns: its cell texts and its change
// notification.

#include "editors/LookupExtraRowGx.h"

#include <gtest/gtest.h>

namespace {

using Cells = std::vector<std::string>;

TEST(SpecRowCells, SplitsAtSemicolonsAndReadsQuotedCells)
{
    EXPECT_EQ(TSpecRowGx::ParseCells("none;(empty) value"), (Cells{"none", "(empty) value"}));
    EXPECT_EQ(TSpecRowGx::ParseCells("\"a;b\";\"say \"\"hi\"\"\""), (Cells{"a;b", "say \"hi\""}));
    EXPECT_EQ(TSpecRowGx::ParseCells("\r\n first\r\n;\t second"), (Cells{" first", " second"}));
    EXPECT_EQ(TSpecRowGx::ParseCells(""), Cells{});
    EXPECT_EQ(TSpecRowGx::ParseCells("a;;b"), (Cells{"a", "", "b"}));
}

TEST(SpecRow, CellTextIsEmptyBeyondTheLastCell)
{
    TSpecRowGx row;
    row.SetCellsText("x;y");
    EXPECT_EQ(row.CellText(1), "y");
    EXPECT_EQ(row.CellText(2), "");
    EXPECT_EQ(row.CellText(-1), "");
}

TEST(SpecRow, AssignCopiesTheRowAndNotifiesOnce)
{
    TSpecRowGx source;
    source.SetCellsText("(none)");
    source.SetValue(TVariant(0));
    source.SetVisible(true);
    source.SetShowIfNotInKeyList(false);
    source.SetColor(clYellow);

    TSpecRowGx target;
    int changes = 0;
    target.OnChanged = [&] { ++changes; };
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.CellText(0), "(none)");
    EXPECT_EQ(target.Value(), TVariant(0));
    EXPECT_TRUE(target.Visible());
    EXPECT_FALSE(target.ShowIfNotInKeyList());
    EXPECT_TRUE(target.ColorAssigned());
    EXPECT_FALSE(target.FontAssigned());
    EXPECT_EQ(target.ShortCut(), QKeySequence(Qt::ALT | Qt::Key_Delete));
}

}  // namespace
