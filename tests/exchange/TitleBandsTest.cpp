// The levels and merged blocks an export walks from the grid's title tree.

#include "ExportTestSupport.h"

#include "exchange/TitleBands.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include <gtest/gtest.h>

namespace {

// A grid whose columns carry the given captions.
class TitleBands : public ::testing::Test {
protected:
    void Build(std::initializer_list<const char*> captions)
    {
        int i = 0;
        for (const char* caption : captions) {
            (void)caption;
            Grid.AddField("F" + std::to_string(i++), ftString, 5);
        }
        Grid.Bind();
        i = 0;
        for (const char* caption : captions)
            Grid.Grid->Columns()[i++]->Title()->SetCaption(caption);
        Grid.Grid->SetUseMultiTitle(true);
        Bands = std::make_unique<TTitleBandsGx>(Grid.Grid->VisibleColumns(), Tree());
    }
    // Each level from the top: the cells that keep a node, as
    // "text/colspan x rowspan".
    std::vector<std::string> Levels() const
    {
        std::vector<std::string> levels;
        for (int level = Bands->LevelCount() - 1; level >= 0; --level) {
            std::string line;
            for (int c = 0; c < Bands->ColumnCount(); ++c) {
                const TTitleBandCellGx& cell = Bands->Cell(level, c);
                if (cell.Keeps)
                    line += (line.empty() ? "" : " ") + Bands->Text(level, c) + "/" + std::to_string(cell.ColSpan) +
                            "x" + std::to_string(cell.RowSpan);
            }
            levels.push_back(line);
        }
        return levels;
    }

    const TTitleTree& Tree() const { return Grid.Grid->TitleTree().Tree(); }

    TExportGrid Grid;
    std::unique_ptr<TTitleBandsGx> Bands;
};

using Lines = std::vector<std::string>;

TEST_F(TitleBands, SharedFirstPartGroupsAdjacentColumns)
{
    Build({"A|B", "A|C", "D"});
    EXPECT_EQ(Levels(), (Lines{"A/2x1 D/1x2", "B/1x1 C/1x1"}));
    const TTitleBandCellGx& left = Bands->Cell(1, 0);
    const TTitleBandCellGx& right = Bands->Cell(1, 1);
    EXPECT_TRUE(left.BorderLeft && left.BorderTop && left.BorderBottom && !left.BorderRight);
    EXPECT_TRUE(!right.BorderLeft && right.BorderTop && right.BorderBottom && right.BorderRight);
    EXPECT_FALSE(Bands->Cell(0, 2).BorderTop);
    EXPECT_FALSE(Bands->Cell(1, 2).BorderBottom);
}

TEST_F(TitleBands, DifferentFirstPartsAreNotGrouped)
{
    Build({"A|B", "X|A|B"});
    EXPECT_EQ(Levels(), (Lines{"A/1x2 X/1x1", "A/1x1", "B/1x1 B/1x1"}));
}

TEST_F(TitleBands, SingleColumnGetsItsOwnHeader)
{
    Build({"A|B"});
    EXPECT_EQ(Levels(), (Lines{"A/1x1", "B/1x1"}));
}

TEST_F(TitleBands, ThreeLevels)
{
    Build({"A|B|C", "A|B|D", "E"});
    EXPECT_EQ(Levels(), (Lines{"A/2x1 E/1x3", "B/2x1", "C/1x1 D/1x1"}));
}

TEST_F(TitleBands, ShallowBranchBesideADeepOneReachesDown)
{
    Build({"T|G|N", "T|G|C", "T|Q", "R"});
    EXPECT_EQ(Levels(), (Lines{"T/3x1 R/1x3", "G/2x1 Q/1x2", "N/1x1 C/1x1"}));
}

TEST_F(TitleBands, SeparatorsRepeatedOrLeadingAreOneSeparator)
{
    Build({"|A||B", "A|C"});
    EXPECT_EQ(Levels(), (Lines{"A/2x1", "B/1x1 C/1x1"}));
}

TEST_F(TitleBands, SameCaptionsApartAreNotJoined)
{
    Build({"A|B", "X", "A|C"});
    EXPECT_EQ(Levels(), (Lines{"A/1x1 X/1x2 A/1x1", "B/1x1 C/1x1"}));
}

TEST_F(TitleBands, SingleLevelCaptionsGiveOneLevel)
{
    Build({"A", "B"});
    EXPECT_EQ(Levels(), (Lines{"A/1x1 B/1x1"}));
}

TEST_F(TitleBands, ExportedSubsetOfColumnsIsWalkedAlone)
{
    Build({"A|B", "A|C", "D"});
    TColumnsGxList subset;
    subset.Add(Grid.Grid->Columns()[1]);
    subset.Add(Grid.Grid->Columns()[2]);
    Bands = std::make_unique<TTitleBandsGx>(subset, Tree());
    EXPECT_EQ(Levels(), (Lines{"A/1x1 D/1x2", "C/1x1"}));
}

TEST_F(TitleBands, LevelsThatChangeNothingForTheExportedColumnsAreDropped)
{
    Build({"A|B", "A|C", "D"});
    TColumnsGxList subset;
    subset.Add(Grid.Grid->Columns()[2]);
    Bands = std::make_unique<TTitleBandsGx>(subset, Tree());
    EXPECT_EQ(Levels(), (Lines{"D/1x1"}));
}

TEST_F(TitleBands, FollowTheGridsTreeAfterACaptionChanges)
{
    Build({"A|B", "A|C", "D"});
    Grid.Grid->Columns()[2]->Title()->SetCaption("A|E|F");
    Bands = std::make_unique<TTitleBandsGx>(Grid.Grid->VisibleColumns(), Tree());
    EXPECT_EQ(Levels(), (Lines{"A/3x1", "B/1x2 C/1x2 E/1x1", "F/1x1"}));
}

}  // namespace
