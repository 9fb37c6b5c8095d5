// Writing the editor's text back into the current field, run by the data
// link's UpdateData while the editor holds text not yet written: a pick list
// line as text, a key pick list line as the key beside it, a lookup value
// as the key of its record, any other text as the field's edit text.

#include "grid/input/DBGridGxEditorHost.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "data/Fields.h"
#include "editors/LookupExtraRowGx.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/InplaceEdit.h"
#include "platform/Exceptions.h"

namespace {

// The key of the lookup record whose result field is text (without regard
// to case), or null.
TVariant LookupKeyOfText(const TField& field, const std::string& text)
{
    TDataSet* lookup = field.LookupDataSet();
    if (lookup == nullptr || !lookup->Active() ||
        !lookup->Locate(field.LookupResultField, TVariant(text), TLocateOptions(loCaseInsensitive)))
        return TVariant::Null();
    return lookup->FieldValues(field.LookupKeyFields);
}

// Whether text is what the lookup column shows for key: the special row's
// text for its key, or the result of the key's lookup record.  Text typed
// over a lookup value without picking a record no longer stands for the
// key it started from.
bool TextStandsForKey(const TColumnGx& column, const TField& field, const std::string& text, const TVariant& key)
{
    const TSpecRowGx* specRow = column.DropDownSpecRow();
    if (specRow != nullptr && specRow->Visible() && key == specRow->Value() && text == specRow->CellsText())
        return true;
    TDataSet* lookup = field.LookupDataSet();
    if (lookup == nullptr || !lookup->Active())
        return true;
    const TVariant result = lookup->Lookup(field.LookupKeyFields, key, field.LookupResultField);
    return !result.IsNull() && IndexOfNoCase({result.AsString()}, text) == 0;
}

bool KeyFieldsCanModify(const TField& field)
{
    TDataSet* dataSet = field.DataSet();
    if (dataSet == nullptr || field.KeyFields.empty())
        return false;
    for (const std::string& name : SplitFieldNames(field.KeyFields)) {
        TField* keyField = dataSet->FindField(name);
        if (keyField == nullptr || !keyField->CanModify())
            return false;
    }
    return true;
}

} // namespace

void TDBGridGxEditorHost::WriteToField()
{
    WriteToColumn(FGrid.Col());
}

void TDBGridGxEditorHost::WriteToColumn(int rawCol)
{
    TColumnGx* column = ColumnAt(rawCol);
    if (column == nullptr)
        return;
    // While the editor shows over the cell its text is the one to write.
    TInplaceEdit* editor = FGrid.InplaceEditor();
    if (editor != nullptr && editor->isVisible()) {
        const int refused = editor->InvalidMaskPosition();
        if (refused >= 0 && column->Field() != nullptr) {
            editor->setCursorPosition(refused);
            throw EDatabaseError("Invalid input value for field '" + column->Field()->DisplayName() +
                                 "'. Use the Esc key to abandon changes");
        }
        FEditText = editor->ValueText().toStdString();
    }
    const std::string text = FEditText;
    if (column->Field() == nullptr) {
        column->UpdateData(text, TVariant::Null(), true);
        return;
    }
    if (!FGrid.DataLink()->Edit())
        return;
    switch (column->ColumnKind()) {
    case ckKeyPickList: WriteKeyPickList(*column, text); break;
    case ckLookupField: WriteLookup(*column, text); break;
    case ckPickList: WritePickList(*column, text); break;
    default: column->UpdateData(text, TVariant::Null(), true); break;
    }
}

void TDBGridGxEditorHost::WritePickList(TColumnGx& column, const std::string& text)
{
    if (column.OnNotInList && IndexOfNoCase(column.PickList(), text) < 0) {
        bool recheck = false;
        column.OnNotInList(column, text, recheck);
    }
    column.UpdateData(text, TVariant(text), true);
}

void TDBGridGxEditorHost::WriteKeyPickList(TColumnGx& column, const std::string& text)
{
    TVariant key = TVariant::Null();
    if (!text.empty()) {
        int line = IndexOfNoCase(column.PickList(), text);
        if (line < 0 && column.OnNotInList) {
            bool recheck = false;
            column.OnNotInList(column, text, recheck);
            if (recheck)
                line = IndexOfNoCase(column.PickList(), text);
        }
        if (line >= 0 && line < static_cast<int>(column.KeyList().size()))
            key = TVariant(column.KeyList()[static_cast<size_t>(line)]);
    }
    column.UpdateData(text, key, false);
}

void TDBGridGxEditorHost::WriteLookup(TColumnGx& column, const std::string& text)
{
    TField& field = *column.Field();
    TVariant key = FLookupKeyValue;
    if (!key.IsNull() && !TextStandsForKey(column, field, text, key))
        key = TVariant::Null();
    if (key.IsNull() && !text.empty()) {
        // A text typed in full names its record even when no list picked it.
        key = LookupKeyOfText(field, text);
        if (key.IsNull() && column.OnNotInList) {
            bool recheck = false;
            column.OnNotInList(column, text, recheck);
            if (recheck)
                key = LookupKeyOfText(field, text);
        }
    }
    if (!KeyFieldsCanModify(field) || !FGrid.DataLink()->Edit())
        return;
    column.UpdateData(text, key, false);
}
