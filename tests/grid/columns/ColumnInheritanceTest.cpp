// Inherit until assigned: every column, title and footer setting reads its
// fallback until it is set, keeps its own value afterwards, and falls back
// again after RestoreDefaults.  Assign copies what the design says.

#include "grid/GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

TFontGx MakeFont(const char* family, int pointSize, TColor color)
{
    QFont font(family);
    font.setPointSize(pointSize);
    return TFontGx(font, color);
}

class Inheritance : public ::testing::Test {
protected:
    void SetUp() override
    {
        User = Bound.Columns().Add();
        User->SetFieldName("NAME");
    }

    TBoundGrid Bound;
    TColumnGx* User = nullptr;
    TRecordingGrid& Grid() { return *Bound.Grid; }
    TColumnDefValuesGx& Defaults() { return Bound.Grid->ColumnDefValues(); }
};

TEST_F(Inheritance, BooleanSettingsFollowColumnDefValuesUntilSet)
{
    struct TCase {
        const char* Name;
        TColumnValueGx Bit;
        std::function<bool(const TColumnGx&)> Get;
        std::function<void(TColumnGx&, bool)> Set;
        std::function<void(TColumnDefValuesGx&, bool)> SetDefault;
    };
    const std::vector<TCase> cases{
        {"AlwaysShowEditButton", cvAlwaysShowEditButton, &TColumnGx::AlwaysShowEditButton,
         &TColumnGx::SetAlwaysShowEditButton, &TColumnDefValuesGx::SetAlwaysShowEditButton},
        {"AutoDropDown", cvAutoDropDown, &TColumnGx::AutoDropDown, &TColumnGx::SetAutoDropDown,
         &TColumnDefValuesGx::SetAutoDropDown},
        {"DblClickNextVal", cvDblClickNextVal, &TColumnGx::DblClickNextVal, &TColumnGx::SetDblClickNextVal,
         &TColumnDefValuesGx::SetDblClickNextVal},
        {"DropDownShowTitles", cvDropDownShowTitles, &TColumnGx::DropDownShowTitles,
         &TColumnGx::SetDropDownShowTitles, &TColumnDefValuesGx::SetDropDownShowTitles},
        {"DropDownSizing", cvDropDownSizing, &TColumnGx::DropDownSizing, &TColumnGx::SetDropDownSizing,
         &TColumnDefValuesGx::SetDropDownSizing},
        {"EndEllipsis", cvEndEllipsis, &TColumnGx::EndEllipsis, &TColumnGx::SetEndEllipsis,
         &TColumnDefValuesGx::SetEndEllipsis},
        {"ToolTips", cvToolTips, &TColumnGx::ToolTips, &TColumnGx::SetToolTips, &TColumnDefValuesGx::SetToolTips},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_FALSE(c.Get(*User));
        c.SetDefault(Defaults(), true);
        EXPECT_TRUE(c.Get(*User));
        EXPECT_FALSE(User->AssignedValues().Contains(c.Bit));

        c.Set(*User, false);
        EXPECT_TRUE(User->AssignedValues().Contains(c.Bit));
        EXPECT_FALSE(c.Get(*User));

        User->RestoreDefaults();
        EXPECT_FALSE(User->AssignedValues().Contains(c.Bit));
        EXPECT_TRUE(c.Get(*User));
        c.SetDefault(Defaults(), false);
    }
}

TEST_F(Inheritance, SettingsFollowTheFieldUntilSet)
{
    TColumnGx* amount = Bound.Columns().Add();
    amount->SetFieldName("AMOUNT");
    TColumnGx* active = Bound.Columns().Add();
    active->SetFieldName("ACTIVE");

    EXPECT_EQ(amount->Alignment(), taRightJustify);
    EXPECT_EQ(User->Alignment(), taLeftJustify);
    Bound.Field("NAME")->SetAlignment(taCenter);
    EXPECT_EQ(User->Alignment(), taCenter);
    User->SetAlignment(taRightJustify);
    Bound.Field("NAME")->SetAlignment(taLeftJustify);
    EXPECT_EQ(User->Alignment(), taRightJustify);
    EXPECT_EQ(Bound.Field("NAME")->Alignment(), taLeftJustify);   // a user column keeps its own

    EXPECT_TRUE(active->Checkboxes());
    EXPECT_FALSE(User->Checkboxes());
    User->SetCheckboxes(true);
    EXPECT_TRUE(User->Checkboxes());

    EXPECT_TRUE(User->WordWrap());       // string
    EXPECT_FALSE(amount->WordWrap());
    TColumnGx* notes = Bound.Columns().Add();
    notes->SetFieldName("NOTES");
    EXPECT_TRUE(notes->WordWrap());      // memo
    amount->SetWordWrap(true);
    EXPECT_TRUE(amount->WordWrap());

    EXPECT_FALSE(User->ReadOnly());
    Bound.Field("NAME")->SetReadOnly(true);
    EXPECT_TRUE(User->ReadOnly());
    User->SetReadOnly(false);
    EXPECT_FALSE(User->ReadOnly());
    EXPECT_TRUE(Bound.Field("NAME")->ReadOnly());
    Grid().SetReadOnly(true);
    EXPECT_TRUE(amount->ReadOnly());
    EXPECT_FALSE(User->ReadOnly());

    EXPECT_EQ(User->Title()->Caption(), "NAME");
    Bound.Field("NAME")->SetDisplayLabel("Name of customer");
    EXPECT_EQ(User->Title()->Caption(), "Name of customer");
    User->Title()->SetCaption("Customer");
    EXPECT_EQ(User->Title()->Caption(), "Customer");
    EXPECT_EQ(Bound.Field("NAME")->DisplayLabel(), "Name of customer");
    User->Title()->RestoreDefaults();
    EXPECT_EQ(User->Title()->Caption(), "Name of customer");

    TColumnGx* unbound = Bound.Columns().Add();
    unbound->SetFieldName("NOT_THERE");
    EXPECT_EQ(unbound->Title()->Caption(), "NOT_THERE");
    EXPECT_EQ(unbound->Alignment(), taLeftJustify);
    EXPECT_FALSE(unbound->WordWrap());
}

TEST_F(Inheritance, InputMethodAndLookupSettingsFollowTheGridAndFieldUntilSet)
{
    EXPECT_EQ(User->ImeMode(), imDontCare);
    Grid().SetImeMode(imChinese);
    Grid().SetImeName("pinyin");
    EXPECT_EQ(User->ImeMode(), imChinese);
    EXPECT_EQ(User->ImeName(), "pinyin");
    User->SetImeMode(imClose);
    User->SetImeName("");
    EXPECT_EQ(User->ImeMode(), imClose);
    EXPECT_EQ(User->ImeName(), "");
    EXPECT_TRUE(User->AssignedValues().Contains(cvImeName));

    EXPECT_EQ(User->LookupDisplayFields(), "");
    User->SetLookupDisplayFields("A;B");
    EXPECT_EQ(User->LookupDisplayFields(), "A;B");
    User->RestoreDefaults();
    EXPECT_EQ(User->ImeMode(), imChinese);
    EXPECT_EQ(User->ImeName(), "pinyin");
    EXPECT_EQ(User->LookupDisplayFields(), "");
}

TEST_F(Inheritance, LayoutChangingSettingsRunTheLayoutPass)
{
    int passes = Grid().LayoutPassCount();
    User->Title()->SetImageIndex(2);
    EXPECT_EQ(Grid().LayoutPassCount(), ++passes);
    Defaults().Title().SetAlignment(taCenter);
    EXPECT_EQ(Grid().LayoutPassCount(), ++passes);
    Defaults().Title().SetOrientation(tohVertical);
    EXPECT_EQ(Grid().LayoutPassCount(), ++passes);
    User->SetVisible(false);
    EXPECT_EQ(Grid().LayoutPassCount(), ++passes);
    User->SetVisible(true);
    EXPECT_EQ(Grid().LayoutPassCount(), ++passes);

    // A plain change of one column only touches its grid column...
    User->SetColor(clRed);
    EXPECT_EQ(Grid().LayoutPassCount(), passes);
    // ...unless multi-level titles may depend on it.
    Grid().SetUseMultiTitle(true);
    ++passes;
    User->SetColor(clBlue);
    EXPECT_EQ(Grid().LayoutPassCount(), ++passes);
}

TEST_F(Inheritance, ColoursAndFontsFollowTheGridUntilSet)
{
    EXPECT_EQ(User->Color(), clWindow);
    Grid().SetColor(clInfoBk);
    EXPECT_EQ(User->Color(), clInfoBk);
    User->SetColor(clYellow);
    Grid().SetColor(clAqua);
    EXPECT_EQ(User->Color(), clYellow);

    TFontGx big = MakeFont("Serif", 20, clRed);
    Grid().SetFont(big);
    EXPECT_EQ(User->Font(), big);
    TFontGx own = MakeFont("Sans", 9, clBlue);
    User->SetFont(own);
    Grid().SetFont(MakeFont("Serif", 11, clBlack));
    EXPECT_EQ(User->Font(), own);
    EXPECT_TRUE(User->AssignedValues().Contains(cvFont));

    User->RestoreDefaults();
    EXPECT_EQ(User->Color(), clAqua);
    EXPECT_EQ(User->Font(), Grid().Font());
    EXPECT_TRUE(User->AssignedValues().Empty());
}

TEST_F(Inheritance, TitleSettingsFollowTheTitleDefaultsUntilSet)
{
    TColumnTitleGx& title = *User->Title();
    TColumnTitleDefValuesGx& defaults = Defaults().Title();

    EXPECT_EQ(title.Alignment(), taLeftJustify);
    Grid().SetUseMultiTitle(true);
    EXPECT_EQ(title.Alignment(), taCenter);
    defaults.SetAlignment(taRightJustify);
    EXPECT_EQ(title.Alignment(), taRightJustify);
    title.SetAlignment(taLeftJustify);
    EXPECT_EQ(title.Alignment(), taLeftJustify);
    EXPECT_TRUE(User->AssignedValues().Contains(cvTitleAlignment));

    EXPECT_EQ(title.Color(), clBtnFace);
    Grid().SetFixedColor(clSilver);
    EXPECT_EQ(title.Color(), clSilver);
    defaults.SetColor(clCream);
    EXPECT_EQ(title.Color(), clCream);
    title.SetColor(clLime);
    EXPECT_EQ(title.Color(), clLime);

    EXPECT_EQ(title.Orientation(), tohHorizontal);
    defaults.SetOrientation(tohVertical);
    EXPECT_EQ(title.Orientation(), tohVertical);
    title.SetOrientation(tohHorizontal);
    EXPECT_EQ(title.Orientation(), tohHorizontal);

    defaults.SetEndEllipsis(true);
    defaults.SetTitleButton(true);
    defaults.SetToolTips(true);
    EXPECT_TRUE(title.EndEllipsis());
    EXPECT_TRUE(title.TitleButton());
    EXPECT_TRUE(title.ToolTips());
    title.SetEndEllipsis(false);
    title.SetTitleButton(false);
    title.SetToolTips(false);
    EXPECT_FALSE(title.EndEllipsis());
    EXPECT_FALSE(title.TitleButton());
    EXPECT_FALSE(title.ToolTips());

    TFontGx titleFont = MakeFont("Serif", 14, clNavy);
    Grid().SetTitleFont(titleFont);
    EXPECT_EQ(title.Font(), titleFont);
    TFontGx own = MakeFont("Sans", 8, clMaroon);
    title.SetFont(own);
    EXPECT_EQ(title.Font(), own);

    // The title's bits live in the column's set.
    EXPECT_EQ(User->AssignedValues(), TitleValuesGx - TColumnValuesGx{cvTitleCaption});
    User->RestoreDefaults();
    EXPECT_TRUE(User->AssignedValues().Empty());
    EXPECT_EQ(title.Alignment(), taRightJustify);
    EXPECT_EQ(title.Color(), clCream);
    EXPECT_EQ(title.Orientation(), tohVertical);
    EXPECT_TRUE(title.EndEllipsis());
    EXPECT_TRUE(title.TitleButton());
    EXPECT_TRUE(title.ToolTips());
    EXPECT_EQ(title.Font(), titleFont);
}

TEST_F(Inheritance, FooterSettingsFollowTheFieldAndTheGridUntilSet)
{
    TColumnGx* amount = Bound.Columns().Add();
    amount->SetFieldName("AMOUNT");
    TColumnFooterGx& footer = *amount->Footer();

    EXPECT_EQ(footer.Alignment(), taRightJustify);
    EXPECT_EQ(footer.Color(), clWindow);
    Grid().SetFooterColor(clMoneyGreen);
    EXPECT_EQ(footer.Color(), clMoneyGreen);
    TFontGx footerFont = MakeFont("Serif", 10, clGreen);
    Grid().SetFooterFont(footerFont);
    EXPECT_EQ(footer.Font(), footerFont);

    footer.SetAlignment(taCenter);
    footer.SetColor(clSkyBlue);
    TFontGx own = MakeFont("Sans", 7, clPurple);
    footer.SetFont(own);
    EXPECT_EQ(footer.AssignedValues(), (TColumnFooterValuesGx{cvFooterAlignment, cvFooterColor, cvFooterFont}));
    EXPECT_EQ(footer.Alignment(), taCenter);
    EXPECT_EQ(footer.Color(), clSkyBlue);
    EXPECT_EQ(footer.Font(), own);

    footer.RestoreDefaults();
    EXPECT_TRUE(footer.AssignedValues().Empty());
    EXPECT_EQ(footer.Alignment(), taRightJustify);
    EXPECT_EQ(footer.Color(), clMoneyGreen);
    EXPECT_EQ(footer.Font(), footerFont);

    // With ParentColor on, the footer colour follows the grid's Color.
    Grid().SetParentColor(true);
    Grid().SetColor(clCream);
    EXPECT_EQ(footer.Color(), clCream);
    Grid().SetFooterColor(clRed);
    EXPECT_FALSE(Grid().ParentColor());
    EXPECT_EQ(footer.Color(), clRed);
}

TEST(InheritanceWithoutGrid, ColumnsOfACollectionWithoutGridUseFixedFallbacks)
{
    TDBGridColumnsGx columns(nullptr);
    TColumnGx* column = columns.Add();
    EXPECT_EQ(column->Width(), 64);
    EXPECT_EQ(column->Color(), clWindow);
    EXPECT_EQ(column->Alignment(), taLeftJustify);
    EXPECT_FALSE(column->ReadOnly());
    EXPECT_FALSE(column->WordWrap());
    EXPECT_EQ(column->Title()->Color(), clBtnFace);
    EXPECT_EQ(column->Title()->Alignment(), taLeftJustify);
    EXPECT_EQ(column->Footer()->Color(), clWindow);
    TFontGx own(QFont("Serif"), clRed);
    column->SetFont(own);
    EXPECT_EQ(column->Title()->Font(), own);   // the column's font without a grid
    EXPECT_EQ(column->Footer()->Font(), own);
}

TEST(PlainDefaults, AColumnStartsWithTheDocumentedValues)
{
    TDBGridColumnsGx columns(nullptr);
    const TColumnGx& c = *columns.Add();
    EXPECT_TRUE(c.AutoFitColWidth());
    EXPECT_EQ(c.ButtonStyle(), cbsAuto);
    EXPECT_EQ(c.DropDownRows(), 7);
    EXPECT_EQ(c.DropDownWidth(), 0);
    EXPECT_EQ(c.Increment(), 1.0);
    EXPECT_EQ(c.MaxWidth(), 0);
    EXPECT_EQ(c.MinWidth(), 0);
    EXPECT_EQ(c.NotInKeyListIndex(), -1);
    EXPECT_EQ(c.Tag(), 0);
    EXPECT_TRUE(c.Visible());
    EXPECT_FALSE(c.HasPickList());
    EXPECT_FALSE(c.HasKeyList());
    EXPECT_EQ(c.PopupMenu(), nullptr);
    EXPECT_EQ(c.ImageList(), nullptr);
    EXPECT_EQ(c.Title()->ImageIndex(), -1);
    EXPECT_EQ(c.Title()->SortMarker(), smNoneGx);
    EXPECT_EQ(c.Title()->SortIndex(), 0);
    EXPECT_EQ(c.Footer()->ValueType(), fvtNon);
    EXPECT_FALSE(c.Footer()->EndEllipsis());
    EXPECT_FALSE(c.Footer()->WordWrap());
    EXPECT_EQ(c.Footers()->Count(), 0);
    EXPECT_FALSE(c.DropDownSpecRow()->Visible());
    EXPECT_TRUE(c.AssignedValues().Empty());
}

TEST_F(Inheritance, RestoreDefaultsDropsTheListsAndTheButtonStyle)
{
    User->SetPickList({"a", "b"});
    User->SetKeyList({"1", "2"});
    User->SetButtonStyle(cbsEllipsis);
    User->SetTag(5);
    User->RestoreDefaults();
    EXPECT_FALSE(User->HasPickList());
    EXPECT_FALSE(User->HasKeyList());
    EXPECT_EQ(User->ButtonStyle(), cbsAuto);
    EXPECT_EQ(User->Tag(), 5);   // not one of the inherited settings
}

TEST_F(Inheritance, AssignCopiesInheritedSettingsOnlyWhereAssigned)
{
    TColumnGx* source = Bound.Columns().Add();
    source->SetFieldName("AMOUNT");
    source->SetColor(clYellow);
    source->Title()->SetCaption("Sum");
    source->SetTag(9);
    source->SetPickList({"x"});
    source->Footer()->SetValueType(fvtSum);
    source->Footers()->Add()->SetValue("total");

    TColumnGx* target = Bound.Columns().Add();
    target->SetFieldName("NAME");
    target->SetFont(MakeFont("Serif", 30, clRed));
    target->SetReadOnly(true);
    target->Assign(*source);

    EXPECT_EQ(target->FieldName(), "AMOUNT");
    EXPECT_EQ(target->Field(), Bound.Field("AMOUNT"));
    EXPECT_EQ(target->Color(), clYellow);
    EXPECT_EQ(target->Title()->Caption(), "Sum");
    EXPECT_EQ(target->Tag(), 9);
    EXPECT_EQ(target->PickList(), TStringListGx{"x"});
    EXPECT_EQ(target->Footer()->ValueType(), fvtSum);
    ASSERT_EQ(target->Footers()->Count(), 1);
    EXPECT_EQ((*target->Footers())[0]->Value(), "total");
    // Settings the source inherits are inherited by the copy as well,
    // whatever the copy had before.
    for (TColumnValueGx bit : {cvFont, cvReadOnly, cvAlignment, cvWidth, cvCheckboxes, cvImeName,
                               cvLookupDisplayFields, cvTitleColor, cvTitleFont, cvTitleAlignment})
        EXPECT_FALSE(target->AssignedValues().Contains(bit)) << bit;
    EXPECT_EQ(target->Font(), Grid().Font());
    EXPECT_FALSE(target->ReadOnly());
    EXPECT_EQ(target->Alignment(), taRightJustify);
}

TEST_F(Inheritance, TitleAndFooterAssignCopyAssignedValues)
{
    TColumnGx* other = Bound.Columns().Add();
    other->SetFieldName("ID");
    other->Title()->SetColor(clRed);
    other->Footer()->SetFont(MakeFont("Serif", 12, clBlue));
    other->Footer()->SetFieldName("AMOUNT");
    other->Footer()->SetWordWrap(true);

    User->Title()->SetAlignment(taCenter);
    User->Title()->Assign(*other->Title());
    EXPECT_EQ(User->Title()->Color(), clRed);
    EXPECT_EQ(User->Title()->Alignment(), taCenter);   // not assigned on the source: kept
    EXPECT_EQ(User->Title()->Caption(), "NAME");

    User->Footer()->Assign(*other->Footer());
    EXPECT_TRUE(User->Footer()->AssignedValues().Contains(cvFooterFont));
    EXPECT_FALSE(User->Footer()->AssignedValues().Contains(cvFooterColor));
    EXPECT_EQ(User->Footer()->FieldName(), "AMOUNT");
    EXPECT_TRUE(User->Footer()->WordWrap());
}

TEST(DefValuesAssign, CopiesTheAssignedTitleValuesAndAllPlainOnes)
{
    TDBGridGx a;
    TDBGridGx b;
    a.ColumnDefValues().SetToolTips(true);
    a.ColumnDefValues().SetDblClickNextVal(true);
    a.ColumnDefValues().Title().SetColor(clRed);
    a.ColumnDefValues().Title().SetTitleButton(true);
    b.ColumnDefValues().Title().SetAlignment(taRightJustify);
    b.ColumnDefValues().Assign(a.ColumnDefValues());
    EXPECT_TRUE(b.ColumnDefValues().ToolTips());
    EXPECT_TRUE(b.ColumnDefValues().DblClickNextVal());
    EXPECT_FALSE(b.ColumnDefValues().AutoDropDown());
    EXPECT_EQ(b.ColumnDefValues().Title().Color(), clRed);
    EXPECT_TRUE(b.ColumnDefValues().Title().TitleButton());
    EXPECT_EQ(b.ColumnDefValues().Title().Alignment(), taRightJustify);   // unassigned on a: kept
}

TEST(GridFonts, TitleAndFooterFontsFollowTheGridFontWhileParentFontIsOn)
{
    QWidget parent;
    QFont parentFont("Serif");
    parentFont.setPointSize(17);
    parent.setFont(parentFont);
    TDBGridGx* grid = new TDBGridGx(&parent);
    EXPECT_TRUE(grid->ParentFont());
    EXPECT_EQ(grid->Font().pointSize(), 17);
    EXPECT_EQ(grid->TitleFont().pointSize(), 17);

    QFont bigger("Serif");
    bigger.setPointSize(21);
    parent.setFont(bigger);
    EXPECT_EQ(grid->Font().pointSize(), 21);
    EXPECT_EQ(grid->TitleFont().pointSize(), 21);
    EXPECT_EQ(grid->FooterFont().pointSize(), 21);

    // A title font of the user's own turns ParentFont off.
    grid->SetTitleFont(MakeFont("Sans", 9, clBlue));
    EXPECT_FALSE(grid->ParentFont());
    parent.setFont(parentFont);
    EXPECT_EQ(grid->Font().pointSize(), 21);
    EXPECT_EQ(grid->TitleFont().pointSize(), 9);

    grid->SetParentFont(true);
    EXPECT_EQ(grid->Font().pointSize(), 17);
    EXPECT_EQ(grid->TitleFont().pointSize(), 17);
    EXPECT_EQ(grid->FooterFont().pointSize(), 17);
}

TEST(GridFonts, AFontSetOnTheWidgetDirectlyBecomesTheGridsFont)
{
    QWidget parent;
    TDBGridGx* grid = new TDBGridGx(&parent);
    QFont direct("Serif");
    direct.setPointSize(19);
    grid->setFont(direct);
    EXPECT_FALSE(grid->ParentFont());
    EXPECT_EQ(grid->Font().pointSize(), 19);
    EXPECT_EQ(grid->Columns()[0]->Font().pointSize(), 19);
    EXPECT_NE(grid->TitleFont().pointSize(), 19);   // the title font is the grid's own setting

    QFont parentFont("Serif");
    parentFont.setPointSize(11);
    parent.setFont(parentFont);
    EXPECT_EQ(grid->Font().pointSize(), 19);
    grid->SetParentFont(true);
    EXPECT_EQ(grid->Font().pointSize(), 11);
    EXPECT_EQ(grid->TitleFont().pointSize(), 11);
}

TEST(GridFonts, ChangingTheGridFontRunsOneLayoutPass)
{
    TDBGridGx grid;
    int passes = grid.LayoutPassCount();
    grid.SetFont(MakeFont("Serif", 15, clBlack));
    EXPECT_EQ(grid.LayoutPassCount(), passes + 1);
    EXPECT_FALSE(grid.ParentFont());
    EXPECT_EQ(grid.Columns()[0]->Font().pointSize(), 15);
}

}  // namespace

namespace {

TEST_F(Inheritance, EditButtonsBelongToTheirColumnAndAreAlwaysCopied)
{
    EXPECT_EQ(User->EditButtons().Owner(), User);
    EXPECT_EQ(User->EditButtons().Count(), 0);
    TEditButtonGx* button = User->EditButtons().Add();
    button->SetStyle(ebsEllipsisGx);
    button->SetWidth(12);

    TColumnGx* copy = Bound.Columns().Add();
    copy->EditButtons().Add();
    copy->EditButtons().Add();
    copy->Assign(*User);
    ASSERT_EQ(copy->EditButtons().Count(), 1);
    EXPECT_EQ(copy->EditButtons()[0]->Style(), ebsEllipsisGx);
    EXPECT_EQ(copy->EditButtons()[0]->Width(), 12);
    EXPECT_EQ(copy->EditButtons().Owner(), copy);
}

} // namespace
