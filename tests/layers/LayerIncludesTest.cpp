// Every file under src/ includes only headers of its own layer or below.

#include "LayerRule.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}   // namespace

TEST(LayerRule, OrdersTheFoldersBottomToTop)
{
    using layers::LayerOf;
    EXPECT_LT(*LayerOf("platform/Variant.h"), *LayerOf("data/engine/Engine.h"));
    EXPECT_LT(*LayerOf("data/engine/Engine.h"), *LayerOf("data/DataSet.h"));
    EXPECT_LT(*LayerOf("data/DataSet.h"), *LayerOf("data/engine/dbf/DbfTable.h"));
    EXPECT_LT(*LayerOf("data/engine/paradox/PxTable.h"), *LayerOf("ui/Draw3D.h"));
    EXPECT_LT(*LayerOf("ui/Draw3D.h"), *LayerOf("grid/base/CustomGrid.h"));
    EXPECT_EQ(*LayerOf("grid/columns/ColumnGx.h"), *LayerOf("editors/EditButtonGx.h"));
    EXPECT_LT(*LayerOf("grid/DBGridGx.h"), *LayerOf("exchange/Exporter.h"));
    EXPECT_LT(*LayerOf("exchange/Exporter.h"), *LayerOf("app/MainForm.h"));
    EXPECT_FALSE(LayerOf("QWidget").has_value());
}

TEST(LayerRule, FlagsAnIncludeOfAHigherLayer)
{
    const auto violations = layers::CheckFile("data/DataSet.cpp",
                                              "#include \"data/DataSet.h\"\n"
                                              "#include \"platform/Variant.h\"\n"
                                              "  #  include \"grid/DBGridGx.h\"\n"
                                              "#include \"data/engine/Engine.h\"\n"
                                              "#include \"data/engine/dbf/DbfTable.h\"\n");
    ASSERT_EQ(violations.size(), 2u);
    EXPECT_EQ(violations[0].Line, 3);
    EXPECT_EQ(violations[0].Include, "grid/DBGridGx.h");
    EXPECT_EQ(violations[1].Line, 5);
    EXPECT_EQ(violations[1].Include, "data/engine/dbf/DbfTable.h");
}

TEST(LayerRule, LetsEachLayerIncludeItsOwnAndLowerLayers)
{
    EXPECT_TRUE(layers::CheckFile("grid/DBGridGx.h", "#include \"editors/LookupExtraRowGx.h\"\n"
                                                     "#include \"ui/FontGx.h\"\n"
                                                     "#include \"data/Field.h\"\n"
                                                     "#include <QWidget>\n")
                    .empty());
    EXPECT_TRUE(layers::CheckFile("exchange/CsvExporter.cpp", "#include \"grid/DBGridGx.h\"\n"
                                                              "#include \"editors/EditButtonGx.h\"\n")
                    .empty());
    EXPECT_TRUE(layers::CheckFile("app/MainForm.cpp", "#include \"exchange/ClipboardActions.h\"\n"
                                                      "#include \"data/engine/drivers/Drivers.h\"\n")
                    .empty());
    EXPECT_EQ(layers::CheckFile("ui/Draw3D.cpp", "#include \"grid/base/GridTypes.h\"\n").size(), 1u);
    EXPECT_EQ(layers::CheckFile("grid/DBGridGx.cpp", "#include \"exchange/Exporter.h\"\n").size(), 1u);
    EXPECT_EQ(layers::CheckFile("exchange/Exporter.cpp", "#include \"app/MainForm.h\"\n").size(), 1u);
}

TEST(LayerRule, KeepsQtOutOfTheLowestLayers)
{
    EXPECT_EQ(layers::CheckFile("platform/Color.h", "#include <QColor>\n").size(), 1u);
    EXPECT_EQ(layers::CheckFile("data/engine/dbf/DbfTable.cpp", "#include <QFile>\n").size(), 1u);
    EXPECT_TRUE(layers::CheckFile("platform/Color.h", "#include <cstdint>\n#include <queue>\n").empty());
    EXPECT_TRUE(layers::CheckFile("ui/QtColor.h", "#include <QColor>\n").empty());
}

// The rule applied to the real tree.
TEST(LayerIncludes, NoSourceFileIncludesAHigherLayer)
{
    const fs::path src = fs::path(TM_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::is_directory(src));
    int checked = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(src)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp"))
            continue;
        const std::string relative = fs::relative(path, src).generic_string();
        for (const layers::TViolation& v : layers::CheckFile(relative, ReadText(path)))
            ADD_FAILURE() << "src/" << v.File << ":" << v.Line << ": " << v.Include << ": " << v.Reason;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}
