// Column widths: the width derived from the field's display width, widths
// set by the program, MinWidth/MaxWidth, base widths, and the widths the
// change notification gives the grid's columns.

#include "grid/GridTestSupport.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

int DigitWidth(const TColumnGx& column)
{
    return QFontMetrics(column.Font()).horizontalAdvance(QLatin1Char('0'));
}

TEST(ColumnWidth, DerivedFromTheFieldsDisplayWidthInTheColumnsFont)
{
    TBoundGrid bound;
    TColumnGx* name = bound.Column("NAME");
    EXPECT_EQ(name->Width(), DigitWidth(*name) * 20 + 4);
    bound.Field("NAME")->SetDisplayWidth(5);
    name = bound.Column("NAME");
    EXPECT_EQ(name->Width(), DigitWidth(*name) * 5 + 4);

    QFont wide("Serif");
    wide.setPointSize(30);
    name->SetFont(TFontGx(wide));
    EXPECT_EQ(name->Width(), DigitWidth(*name) * 5 + 4);
    EXPECT_FALSE(name->AssignedValues().Contains(cvWidth));
}

TEST(ColumnWidth, AWidthEqualToTheDerivedOneStaysUnassigned)
{
    TBoundGrid bound;
    TColumnGx* user = bound.Columns().Add();
    user->SetFieldName("NAME");
    int derived = user->Width();
    user->SetWidth(derived);
    EXPECT_FALSE(user->AssignedValues().Contains(cvWidth));
    bound.Field("NAME")->SetDisplayWidth(3);
    EXPECT_EQ(user->Width(), DigitWidth(*user) * 3 + 4);   // still follows the field

    user->SetWidth(derived + 1);
    EXPECT_TRUE(user->AssignedValues().Contains(cvWidth));
    EXPECT_EQ(user->Width(), derived + 1);
    user->SetWidth(-1);   // -1 is never stored
    EXPECT_EQ(user->Width(), derived + 1);
}

TEST(ColumnWidth, MaxWidthAndMinWidthClampStoredWidths)
{
    TDBGridColumnsGx columns(nullptr);
    TColumnGx* column = columns.Add();
    column->SetMaxWidth(100);
    column->SetWidth(150);
    EXPECT_EQ(column->Width(), 100);

    column->SetMinWidth(50);
    column->SetWidth(20);
    EXPECT_EQ(column->Width(), 50);

    // Setting the limits moves a width outside them.
    column->SetWidth(90);
    column->SetMaxWidth(70);
    EXPECT_EQ(column->Width(), 70);
    column->SetMinWidth(80);
    EXPECT_EQ(column->Width(), 80);
    // MinWidth wins over MaxWidth.
    column->SetWidth(200);
    EXPECT_EQ(column->Width(), 80);
}

TEST(ColumnWidth, ADefaultColumnOnAShownGridSizesItsFieldInstead)
{
    TBoundGrid bound;
    bound.Grid->resize(600, 300);
    bound.Grid->show();
    ASSERT_TRUE(bound.Grid->HandleAllocated());
    TColumnGx* name = bound.Column("NAME");
    int digit = DigitWidth(*name);
    int average = QFontMetrics(name->Font()).averageCharWidth();
    int target = digit * 8 + 4;
    name->SetWidth(target);
    EXPECT_EQ(bound.Field("NAME")->DisplayWidth(), (target + average / 2 - 3) / digit);
    name = bound.Column("NAME");
    EXPECT_EQ(name->Width(), digit * bound.Field("NAME")->DisplayWidth() + 4);
}

TEST(ColumnWidth, ADefaultColumnSizedDuringADatasetLayoutChangeKeepsFollowingItsField)
{
    TBoundGrid bound;
    bound.Grid->resize(600, 300);
    bound.Grid->show();
    bool sized = false;
    bound.Grid->AfterLayout = [&] {
        if (!bound.Grid->DataLayoutChanging() || sized)
            return;
        sized = true;
        TColumnGx* name = bound.Column("NAME");
        name->SetWidth(name->Width() + 5 * DigitWidth(*name));
    };
    bound.Field("ID")->SetDisplayLabel("Number");   // a layout change of the dataset
    ASSERT_TRUE(sized);
    TColumnGx* name = bound.Column("NAME");
    EXPECT_FALSE(name->AssignedValues().Contains(cvWidth));
    EXPECT_EQ(bound.Field("NAME")->DisplayWidth(), 25);
    EXPECT_EQ(name->Width(), DigitWidth(*name) * 25 + 4);

    // Outside such a change the same request is kept as the column's own.
    bound.Grid->AfterLayout = nullptr;
    name->SetWidth(name->Width() + 1);
    EXPECT_TRUE(bound.Column("NAME")->AssignedValues().Contains(cvWidth));
}

TEST(ColumnWidth, HidingWidthsLeaveTheFieldAlone)
{
    TBoundGrid bound;
    bound.Grid->show();
    bound.Column("NAME")->SetWidth(0);
    bound.Column("NAME")->SetWidth(-1);
    EXPECT_EQ(bound.Field("NAME")->DisplayWidth(), 20);
}

TEST(ColumnWidth, BaseWidthIsTakenAtCreationFieldChangeAndAutoFit)
{
    TBoundGrid bound;
    TColumnGx* user = bound.Columns().Add();
    EXPECT_EQ(user->BaseWidth(), bound.Grid->DefaultColWidth());
    user->SetFieldName("NAME");
    EXPECT_EQ(user->BaseWidth(), user->Width());

    user->SetWidth(33);
    EXPECT_NE(user->BaseWidth(), 33);
    bound.Grid->SetAutoFitColWidths(true);
    EXPECT_EQ(user->BaseWidth(), 33);

    TDBGridColumnsGx copies(nullptr);
    TColumnGx* copy = copies.Add();
    copy->Assign(*user);
    EXPECT_EQ(copy->BaseWidth(), 33);
}

TEST(ColumnWidth, TheGridsColumnsTakeTheColumnsWidths)
{
    TBoundGrid bound;
    TColumnGx* code = bound.Column("CODE");
    int raw = bound.Grid->DataToRawColumn(code->Index());
    code->SetWidth(57);
    EXPECT_EQ(bound.Grid->ColWidths(raw), 57);

    code->SetVisible(false);
    EXPECT_EQ(bound.Grid->ColWidths(raw), -1);   // hidden with its line
    bound.Grid->SetOptions(bound.Grid->Options() - dgColLines);
    EXPECT_EQ(bound.Grid->ColWidths(raw), 0);

    code->SetVisible(true);
    EXPECT_EQ(bound.Grid->ColWidths(raw), 57);
}

TEST(ColumnWidth, HidingTheCurrentColumnMovesToTheFirstVisibleOne)
{
    TBoundGrid bound;
    bound.Grid->SetCol(bound.Grid->DataToRawColumn(2));
    bound.Columns()[0]->SetVisible(false);
    bound.Columns()[2]->SetVisible(false);
    EXPECT_EQ(bound.Grid->Col(), bound.Grid->DataToRawColumn(1));
}

TEST(ColumnWidth, WithoutIndicatorDataColumnsStartAtGridColumnZero)
{
    TBoundGrid bound;
    bound.Grid->SetOptions(bound.Grid->Options() - dgIndicator);
    EXPECT_EQ(bound.Grid->IndicatorCols(), 0);
    EXPECT_EQ(bound.Grid->ColCount(), 6);
    EXPECT_EQ(bound.Grid->ColWidths(0), bound.Columns()[0]->Width());
}

TEST(ColumnWidth, ResizingUnderAutoFitMovesBaseWidthToTheNextColumn)
{
    TBoundGrid bound;
    bound.Grid->SetAutoFitColWidths(true);
    TColumnGx* id = bound.Columns()[0];
    TColumnGx* name = bound.Columns()[1];
    int raw = bound.Grid->DataToRawColumn(0);
    int gridWidth = bound.Grid->ColWidths(raw);
    int idBase = id->BaseWidth();
    int nameBase = name->BaseWidth();
    id->SetWidth(gridWidth * 2);
    int newBase = static_cast<int>(static_cast<int64_t>(idBase) * id->Width() / gridWidth);
    EXPECT_EQ(id->BaseWidth(), newBase);
    EXPECT_EQ(name->BaseWidth(), std::max(0, nameBase + idBase - newBase));
}

}  // namespace
