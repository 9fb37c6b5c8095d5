// A column over its field's values: the column kind, display text, check
// box states, writing values, the can-modify test and the cell parameters.

#include "grid/GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

class ColumnData : public ::testing::Test {
protected:
    TColumnGx* Add(const std::string& fieldName)
    {
        TColumnGx* column = Bound.Columns().Add();
        column->SetFieldName(fieldName);
        return column;
    }
    void GoTo(int id) { ASSERT_TRUE(Bound.Table->Locate("ID", TVariant(id))); }

    TBoundGrid Bound;
    TImageList Images{16, 16};
};

TEST_F(ColumnData, TheKindFollowsTheSettingsInTheirOrderOfTests)
{
    TColumnGx* code = Add("CODE");
    EXPECT_EQ(code->ColumnKind(), ckCommon);
    code->SetPickList({"Yes", "No"});
    EXPECT_EQ(code->ColumnKind(), ckPickList);
    code->SetKeyList({"Y", "N"});
    EXPECT_EQ(code->ColumnKind(), ckKeyPickList);
    code->SetImageList(&Images);
    EXPECT_EQ(code->ColumnKind(), ckKeyImageList);
    code->SetCheckboxes(true);
    EXPECT_EQ(code->ColumnKind(), ckCheckboxes);

    TColumnGx* keysOnly = Add("CODE");
    keysOnly->SetKeyList({"Y"});
    EXPECT_EQ(keysOnly->ColumnKind(), ckCommon);   // neither a pick list nor images
    keysOnly->SetPickList({});
    EXPECT_EQ(keysOnly->ColumnKind(), ckKeyPickList);   // an empty pick list still exists

    EXPECT_EQ(Add("ACTIVE")->ColumnKind(), ckCheckboxes);
}

TEST_F(ColumnData, KeyListTextsComeFromThePickListOrTheNotInKeyListLine)
{
    TColumnGx* code = Add("CODE");
    code->SetKeyList({"Y", "N"});
    code->SetPickList({"Yes", "No", "Unknown"});
    GoTo(1);
    EXPECT_EQ(code->DisplayText(), "Yes");
    GoTo(3);
    EXPECT_EQ(code->DisplayText(), "No");
    code->SetKeyList({"N", "Y", "Q"});
    code->SetPickList({"No"});
    GoTo(1);
    EXPECT_EQ(code->DisplayText(), "");   // found at 1, beyond the pick list
    code->SetNotInKeyListIndex(0);
    EXPECT_EQ(code->DisplayText(), "No");
    code->SetNotInKeyListIndex(5);
    EXPECT_EQ(code->DisplayText(), "");

    code->SetImageList(&Images);
    EXPECT_EQ(code->DisplayText(), "");   // images show no text
}

TEST_F(ColumnData, MemoFieldsShowTheirTextOnlyUnderDrawMemoText)
{
    TColumnGx* notes = Add("NOTES");
    GoTo(1);
    EXPECT_EQ(notes->DisplayText(), Bound.Field("NOTES")->DisplayText());
    EXPECT_NE(notes->DisplayText(), "first line\nsecond line");
    Bound.Grid->SetDrawMemoText(true);
    EXPECT_EQ(notes->DisplayText(), "first line\nsecond line");
}

TEST_F(ColumnData, OtherColumnsShowTheFieldsDisplayText)
{
    TColumnGx* amount = Add("AMOUNT");
    Bound.Field("AMOUNT")->SetDisplayFormat("0.00");
    GoTo(1);
    EXPECT_EQ(amount->DisplayText(), "12.50");
    GoTo(3);
    EXPECT_EQ(amount->DisplayText(), "");
}

TEST_F(ColumnData, CheckboxStateOfABooleanFieldFollowsItsValue)
{
    TColumnGx* active = Add("ACTIVE");
    GoTo(1);
    EXPECT_EQ(active->CheckboxState(), cbsChecked);
    GoTo(2);
    EXPECT_EQ(active->CheckboxState(), cbsUnchecked);
    GoTo(3);
    EXPECT_EQ(active->CheckboxState(), cbsGrayed);

    Bound.Table->Edit();
    active->SetCheckboxState(cbsChecked);
    EXPECT_TRUE(Bound.Field("ACTIVE")->AsBoolean());
    active->SetCheckboxState(cbsUnchecked);
    EXPECT_FALSE(Bound.Field("ACTIVE")->AsBoolean());
    EXPECT_FALSE(Bound.Field("ACTIVE")->IsNull());
    active->SetCheckboxState(cbsGrayed);
    EXPECT_TRUE(Bound.Field("ACTIVE")->IsNull());
}

TEST_F(ColumnData, CheckboxStateOfATextFieldComesFromTheKeyList)
{
    TColumnGx* code = Add("CODE");
    code->SetKeyList({"Y;y", "N"});
    EXPECT_TRUE(code->ColumnKind() != ckCheckboxes);
    code->SetCheckboxes(true);
    GoTo(1);
    EXPECT_EQ(code->CheckboxState(), cbsChecked);
    GoTo(2);
    EXPECT_EQ(code->CheckboxState(), cbsChecked);   // "y"
    GoTo(3);
    EXPECT_EQ(code->CheckboxState(), cbsUnchecked);   // "N"

    Bound.Table->Edit();
    Bound.Field("CODE")->SetAsString("n");
    EXPECT_EQ(code->CheckboxState(), cbsUnchecked);   // case-insensitive
    Bound.Field("CODE")->SetAsString("Q");
    EXPECT_EQ(code->CheckboxState(), cbsGrayed);
    Bound.Field("CODE")->Clear();
    EXPECT_EQ(code->CheckboxState(), cbsGrayed);

    code->SetCheckboxState(cbsChecked);
    EXPECT_EQ(Bound.Field("CODE")->AsString(), "Y");   // first name of the first line
    code->SetCheckboxState(cbsUnchecked);
    EXPECT_EQ(Bound.Field("CODE")->AsString(), "N");
    code->SetCheckboxState(cbsGrayed);
    EXPECT_TRUE(Bound.Field("CODE")->IsNull());

    // With one line only: a match is checked, anything else grayed, and
    // "unchecked" writes an empty value.
    code->SetKeyList({"Y"});
    Bound.Field("CODE")->SetAsString("N");
    EXPECT_EQ(code->CheckboxState(), cbsGrayed);
    code->SetCheckboxState(cbsUnchecked);
    EXPECT_TRUE(Bound.Field("CODE")->IsNull());
}

TEST_F(ColumnData, UpdateDataGoesThroughOnUpdateData)
{
    TColumnGx* name = Add("NAME");
    std::vector<std::string> seen;
    name->OnUpdateData = [&](TColumnGx& sender, std::string& text, TVariant&, bool& useText, bool& handled) {
        EXPECT_EQ(&sender, name);
        EXPECT_FALSE(handled);
        seen.push_back(text);
        if (text == "veto")
            handled = true;
        else if (useText)
            text = "[" + text + "]";
    };
    GoTo(1);
    Bound.Table->Edit();
    name->UpdateData("Carol", TVariant(), true);
    EXPECT_EQ(Bound.Field("NAME")->AsString(), "[Carol]");
    name->UpdateData("veto", TVariant(), true);
    EXPECT_EQ(Bound.Field("NAME")->AsString(), "[Carol]");
    name->UpdateData("", TVariant("Dave"), false);
    EXPECT_EQ(Bound.Field("NAME")->AsString(), "Dave");
    EXPECT_EQ(seen, (std::vector<std::string>{"Carol", "veto", ""}));
}

TEST_F(ColumnData, UpdateDataWritesMemoTextUnderDrawMemoTextAndEditTextOtherwise)
{
    TColumnGx* notes = Add("NOTES");
    TColumnGx* amount = Add("AMOUNT");
    Bound.Grid->SetDrawMemoText(true);
    GoTo(2);
    Bound.Table->Edit();
    notes->UpdateData("one\r\ntwo", TVariant(), true);
    EXPECT_EQ(Bound.Field("NOTES")->AsString(), "one\r\ntwo");
    amount->UpdateData("7.25", TVariant(), true);
    EXPECT_DOUBLE_EQ(Bound.Field("AMOUNT")->AsFloat(), 7.25);
    EXPECT_THROW(amount->UpdateData("seven", TVariant(), true), Exception);
}

TEST_F(ColumnData, CanModifyNeedsEveryLevelToAllowIt)
{
    TColumnGx* name = Add("NAME");
    EXPECT_TRUE(name->CanModify(false));

    Bound.Grid->SetReadOnly(true);
    EXPECT_FALSE(name->CanModify(false));
    Bound.Grid->SetReadOnly(false);

    name->SetReadOnly(true);
    EXPECT_FALSE(name->CanModify(false));
    name->SetReadOnly(false);

    Bound.Field("NAME")->SetReadOnly(true);
    name->SetReadOnly(false);   // the column's own setting does not unlock the field
    EXPECT_FALSE(name->CanModify(false));
    Bound.Field("NAME")->SetReadOnly(false);

    Bound.Grid->DataLink()->SetReadOnly(true);
    EXPECT_FALSE(name->CanModify(false));
    Bound.Grid->DataLink()->SetReadOnly(false);

    Bound.Grid->SetAllowedOperations(AllAllowedOperationsGx - alopUpdateGx);
    EXPECT_FALSE(name->CanModify(false));
    Bound.Table->Insert();   // a new record may be filled in
    EXPECT_TRUE(name->CanModify(false));
    Bound.Table->Cancel();
    Bound.Grid->SetAllowedOperations(AllAllowedOperationsGx);

    Bound.Table->Close();
    Bound.Table->SetReadOnly(true);
    Bound.Table->Open();
    name = Bound.Columns()[0];
    EXPECT_TRUE(name->Field() != nullptr);
    EXPECT_FALSE(name->CanModify(false));
}

TEST_F(ColumnData, CanModifyOfBlobsAndTryingToEdit)
{
    TColumnGx* notes = Add("NOTES");
    EXPECT_FALSE(notes->CanModify(false));
    Bound.Grid->SetDrawMemoText(true);
    EXPECT_TRUE(notes->CanModify(false));
    Bound.Grid->SetDrawMemoText(false);
    Bound.Field("NOTES")->OnSetText = [](TField& field, const std::string& text) { field.SetAsString(text); };
    EXPECT_TRUE(notes->CanModify(false));

    EXPECT_EQ(Bound.Table->State(), dsBrowse);
    EXPECT_TRUE(notes->CanModify(true));
    EXPECT_EQ(Bound.Table->State(), dsEdit);

    Bound.Table->Cancel();
    Bound.Source->SetAutoEdit(false);
    EXPECT_FALSE(notes->CanModify(true));   // the link could not start editing
    EXPECT_EQ(Bound.Table->State(), dsBrowse);

    Bound.Table->Close();
    EXPECT_FALSE(notes->CanModify(false));
}

TEST_F(ColumnData, CellParamsComeFromTheColumnAndOnGetCellParamsMayChangeThem)
{
    TColumnGx* amount = Add("AMOUNT");
    amount->SetColor(clCream);
    GoTo(2);
    TColCellParamsGx& params = Bound.Grid->ColCellParams();
    EXPECT_EQ(params.Row, -1);
    EXPECT_EQ(params.Col, -1);
    amount->FillColCellParams(params);
    EXPECT_EQ(params.Background, clCream);
    EXPECT_EQ(params.Alignment, taRightJustify);
    EXPECT_EQ(params.Font, amount->Font());
    EXPECT_EQ(params.Text, Bound.Field("AMOUNT")->DisplayText());
    EXPECT_EQ(params.ImageIndex, -1);
    EXPECT_FALSE(params.ReadOnly);

    bool sawEditMode = false;
    amount->SetOnGetCellParams([&](TColumnGx& sender, bool editMode, TColCellParamsGx& p) {
        sawEditMode = editMode;
        if (sender.Field()->AsFloat() < 0) {
            p.Background = clRed;
            p.Font.SetColor(clWhite);
            p.Text = "negative";
        }
    });
    amount->FillColCellParams(params, true);
    EXPECT_TRUE(sawEditMode);
    EXPECT_EQ(params.Background, clRed);
    EXPECT_EQ(params.Font.Color(), clWhite);
    EXPECT_EQ(params.Text, "negative");
    GoTo(1);
    amount->FillColCellParams(params);
    EXPECT_EQ(params.Background, clCream);
    EXPECT_EQ(params.Text, Bound.Field("AMOUNT")->DisplayText());
}

TEST_F(ColumnData, CellParamsOfKeyImageListColumnsCarryTheImageIndex)
{
    TColumnGx* code = Add("CODE");
    code->SetKeyList({"N", "Y"});
    code->SetImageList(&Images);
    code->SetNotInKeyListIndex(7);
    TColCellParamsGx params;
    GoTo(1);
    code->FillColCellParams(params);
    EXPECT_EQ(params.ImageIndex, 1);
    EXPECT_EQ(params.Text, "");
    GoTo(3);
    code->FillColCellParams(params);
    EXPECT_EQ(params.ImageIndex, 0);
    Bound.Table->Edit();
    Bound.Field("CODE")->SetAsString("Q");
    code->FillColCellParams(params);
    EXPECT_EQ(params.ImageIndex, 7);
}

TEST_F(ColumnData, FooterRowsShowFootersItemsFirstThenFooter)
{
    TColumnGx* amount = Add("AMOUNT");
    TColumnFooterGx* item = amount->Footers()->Add();
    EXPECT_EQ(amount->UsedFooter(0), item);
    EXPECT_EQ(amount->UsedFooter(1), amount->Footer());
    amount->Footers()->Clear();
    EXPECT_EQ(amount->UsedFooter(0), amount->Footer());
}

TEST_F(ColumnData, FootersTellTheGridOfTheirSummaries)
{
    TColumnGx* amount = Add("AMOUNT");
    TColumnFooterGx* footer = amount->Footer();
    Bound.Grid->SummaryChanges.clear();
    footer->SetValueType(fvtSum);
    EXPECT_EQ(footer->SummaryOperation(), fsoSum);
    EXPECT_EQ(footer->SummaryFieldName(), "AMOUNT");
    footer->SetFieldName("ID");
    EXPECT_EQ(footer->SummaryFieldName(), "ID");
    footer->SetValueType(fvtCount);
    EXPECT_EQ(footer->SummaryFieldName(), "");
    footer->SetValueType(fvtStaticText);
    EXPECT_EQ(footer->SummaryOperation(), fsoNone);
    EXPECT_EQ(Bound.Grid->SummaryChanges.size(), 4u);

    TColumnFooterGx* item = amount->Footers()->Add();
    item->SetValueType(fvtAvg);
    int destroyed = Bound.Grid->FootersDestroyed;
    amount->Footers()->Delete(0);
    EXPECT_EQ(Bound.Grid->FootersDestroyed, destroyed + 1);
}

}  // namespace
