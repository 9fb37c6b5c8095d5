// The multi-level title tree: grouping of adjacent captions by their
// first parts, node widths with the lines between children, band heights
// with the title margin, sort-marker room, hidden columns, the tree's own
// operations and their refusals, and the band walk exporters lay titles by.

#include "grid/titles/HeadTreeNode.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

// Every character is 8 pixels wide and a line 16 high; texts wrap.
class TFixedMeasure : public THeadTreeMeasure {
public:
    int TextHeight(const THeadTreeNode&, const std::string& text, int width) override
    {
        Widths.push_back(width);
        int perLine = std::max(1, width / 8);
        int lines = (static_cast<int>(text.size()) + perLine - 1) / perLine;
        return 16 * std::max(1, lines);
    }
    int VerticalHeight(const THeadTreeNode& leaf) override { return leaf.Text == "vert" ? 40 : -1; }
    std::vector<int> Widths;
};

std::vector<THeadLeafSource> Columns(std::initializer_list<const char*> captions, int width = 64)
{
    std::vector<THeadLeafSource> columns;
    for (const char* caption : captions)
        columns.push_back({caption, width, 0, 1});
    return columns;
}

std::string Shape(const THeadTreeNode& node)
{
    std::string text;
    for (const auto& child : node.Children()) {
        if (!text.empty())
            text += ",";
        text += child->Text;
        if (!child->Children().empty())
            text += "(" + Shape(*child) + ")";
    }
    return text;
}

} // namespace

TEST(TitleTree, AdjacentCaptionsWithTheSameFirstPartShareOneNode)
{
    TTitleTree tree;
    tree.Build(Columns({"A|B", "A|C", "D"}), 18);
    EXPECT_EQ(Shape(tree.Root()), "A(B,C),D");
    // Two children of 64 pixels and the line between them.
    EXPECT_EQ(tree.Root().Children()[0]->Width, 129);

    tree.Build(Columns({"A|B", "X|A|B"}), 18);
    EXPECT_EQ(Shape(tree.Root()), "A(B),X(A(B))");

    tree.Build(Columns({"A|B"}), 18);
    EXPECT_EQ(Shape(tree.Root()), "A(B)");

    tree.Build(Columns({"A|B|C", "A|B|D", "A|E", "F"}), 18);
    EXPECT_EQ(Shape(tree.Root()), "A(B(C,D),E),F");
    EXPECT_EQ(tree.Depth(), 3);
    ASSERT_EQ(tree.Leaves().size(), 4u);
    EXPECT_EQ(tree.Leaves()[1]->Text, "D");
    EXPECT_EQ(tree.Leaves()[1]->Host()->Text, "B");

    // Leading and repeated separators are skipped.
    tree.Build(Columns({"||G||H", "G|I"}), 18);
    EXPECT_EQ(Shape(tree.Root()), "G(H,I)");

    // Grouping is case-sensitive and only between neighbours.
    tree.Build(Columns({"A|B", "a|C", "A|D"}), 18);
    EXPECT_EQ(Shape(tree.Root()), "A(B),a(C),A(D)");
}

TEST(TitleTree, CaptionsThatWouldGroupAcrossLevelsStayApart)
{
    // After X is made a parent of the first leaf both leaves start with A;
    // they stand at different levels and are not grouped together.
    TTitleTree tree;
    tree.Build(Columns({"X|A|B", "A|C"}), 18);
    EXPECT_EQ(Shape(tree.Root()), "X(A(B)),A(C)");
}

TEST(TitleTree, EveryBandIsAsHighAsItsTextAndTheLeavesReachTheBottom)
{
    TTitleTree tree;
    tree.Build(Columns({"A|B|C", "A|B|D", "E"}), 18);
    TFixedMeasure measure;
    int height = tree.ComputeHeights(measure, 10);
    // Three bands of 16 + 10.
    EXPECT_EQ(height, 78);
    const THeadTreeNode& a = *tree.Root().Children()[0];
    EXPECT_EQ(a.Height, 26);
    EXPECT_EQ(a.Children()[0]->Height, 26);   // B
    EXPECT_EQ(tree.Leaves()[0]->Height, 26);  // C: its own band
    EXPECT_EQ(tree.Leaves()[2]->Height, 78);  // E: the full title height

    // A larger margin makes every band taller by the difference.
    int taller = tree.ComputeHeights(measure, 20);
    EXPECT_EQ(taller, height + 3 * 10);
    EXPECT_EQ(a.Height, 36);
}

TEST(TitleTree, SortMarkedLeavesMeasureNarrowerAndHiddenColumnsKeepTheirLeaf)
{
    std::vector<THeadLeafSource> columns = Columns({"Name", "Hidden", "A|B"});
    columns[0].WidthIndent = 16;
    columns[1].Width = -1;   // hidden, with column lines
    TTitleTree tree;
    tree.Build(columns, 18);
    TFixedMeasure measure;
    tree.ComputeHeights(measure, 10);
    // 64 - 4 - 16 for the sort-marked leaf; nothing measured for the hidden one.
    ASSERT_GE(measure.Widths.size(), 2u);
    EXPECT_EQ(measure.Widths[0], 44);
    ASSERT_EQ(tree.Leaves().size(), 3u);
    EXPECT_EQ(tree.Leaves()[1]->Width, -1);
    EXPECT_EQ(tree.Leaves()[1]->Host(), &tree.Root());

    // A long caption in a narrow column wraps onto more lines.
    tree.Build({{"A very long caption", 40, 0, 1}}, 18);
    EXPECT_EQ(tree.ComputeHeights(measure, 10), 16 * 5 + 10);
}

TEST(TitleTree, VerticalLeavesTakeTheirWrittenLength)
{
    TTitleTree tree;
    tree.Build(Columns({"vert", "flat"}), 18);
    TFixedMeasure measure;
    EXPECT_EQ(tree.ComputeHeights(measure, 10), 40);
}

TEST(TitleTree, NodeOperationsRefuseNodesOutsideTheTreeOrLevel)
{
    TTitleTree tree;
    tree.Build(Columns({"P", "Q", "R"}), 18);
    THeadTreeNode& root = tree.Root();
    THeadTreeNode stranger("S", 1, 1);
    EXPECT_THROW(root.AddAfter(stranger, "x", 1, 1), Exception);
    EXPECT_THROW(root.AddChild(stranger, "x", 1, 1), Exception);
    EXPECT_THROW(root.Union(stranger, stranger, 20, "x"), Exception);
    THeadTreeNode& p = *tree.Leaves()[0];
    THeadTreeNode& r = *tree.Leaves()[2];
    try {
        root.Union(r, p, 20, "x");
        FAIL() << "a run that ends before it starts was grouped";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "ATo not in level");
    }
    // The level is circular for whoever walks it by Next.
    EXPECT_EQ(r.Next(), &p);
    THeadTreeNode& added = root.AddAfter(p, "P2", 5, 5);
    EXPECT_EQ(p.Next(), &added);
    EXPECT_TRUE(root.Find(added));
    int visited = 0;
    root.VisitAll([&](THeadTreeNode&) { ++visited; });
    EXPECT_EQ(visited, 4);
}

TEST(TitleTree, BandsGiveEachNodeItsColumnsAndRows)
{
    TTitleTree tree;
    tree.Build(Columns({"A|B|C", "A|B|D", "A|E", "F"}), 18);
    auto bands = tree.Bands();
    std::vector<std::string> seen;
    for (const TTitleBand& b : bands)
        seen.push_back(b.Node->Text + "@" + std::to_string(b.FirstRow) + ":" + std::to_string(b.RowCount) + "[" +
                       std::to_string(b.FirstColumn) + "-" + std::to_string(b.LastColumn) + "]");
    EXPECT_EQ(seen, (std::vector<std::string>{"A@0:1[0-2]", "F@0:3[3-3]", "B@1:1[0-1]", "E@1:2[2-2]",
                                              "C@2:1[0-0]", "D@2:1[1-1]"}));
}
