// The editor host's hooks: the editor it makes, the text, key value, mask
// and length limit of a cell.  Writing back: DBGridGxEditorWriteBack.cpp.

#include "grid/input/DBGridGxEditorHost.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "editors/LookupExtraRowGx.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/DBGridInplaceEdit.h"

namespace {

bool IsKeyPickList(const TColumnGx& column) { return column.HasKeyList() && !column.KeyList().empty(); }

// Whether the lookup dataset of a lookup field holds a record with this key.
bool KeyInLookup(const TField& field, const TVariant& key)
{
    TDataSet* lookup = field.LookupDataSet();
    if (lookup == nullptr || !lookup->Active() || key.IsNull())
        return false;
    return !lookup->Lookup(field.LookupKeyFields, key, field.LookupKeyFields).IsNull();
}

} // namespace

TInplaceEdit* TDBGridGxEditorHost::CreateEditor()
{
    return new TDBGridInplaceEdit(FGrid);
}

TColumnGx* TDBGridGxEditorHost::ColumnAt(int rawCol) const
{
    const int index = FGrid.RawToDataColumn(rawCol);
    if (index < 0 || index >= FGrid.Columns().Count())
        return nullptr;
    return FGrid.Columns()[index];
}

std::string TDBGridGxEditorHost::CellEditText(int rawCol)
{
    FEditText.clear();
    FLookupKeyValue = TVariant::Null();
    // The editor now holds the cell's own text: nothing is pending.
    FGrid.DataLink()->SetModified(false);
    TColumnGx* column = ColumnAt(rawCol);
    TField* field = column != nullptr ? column->Field() : nullptr;
    if (!FGrid.DataLink()->Active() || field == nullptr)
        return FEditText;
    if (IsKeyPickList(*column)) {
        const int line = IndexOfNoCase(column->KeyList(), field->EditText());
        if (line >= 0 && line < static_cast<int>(column->PickList().size()))
            FEditText = column->PickList()[static_cast<size_t>(line)];
    } else {
        FEditText = EditorTextOf(*field);
    }
    if (field->FieldKind() == fkLookup && !field->KeyFields.empty() && field->DataSet() != nullptr) {
        FLookupKeyValue = field->DataSet()->FieldValues(field->KeyFields);
        const TSpecRowGx* specRow = column->DropDownSpecRow();
        if (specRow != nullptr && specRow->Visible() &&
            (FLookupKeyValue == specRow->Value() ||
             (specRow->ShowIfNotInKeyList() && !KeyInLookup(*field, FLookupKeyValue)))) {
            FLookupKeyValue = specRow->Value();
            FEditText = specRow->CellsText();
        }
    }
    return FEditText;
}

void TDBGridGxEditorHost::SetCellEditText(int rawCol, const std::string& text)
{
    TGridDataLinkGx& link = *FGrid.DataLink();
    // A text the grid already holds is not news: the editor hands its text
    // over again when it hides, also after the text was written.
    if (text == FEditText && (!link.Modified() || rawCol == FGrid.Col()))
        return;
    FEditText = text;
    if (!link.Active())
        return;
    link.SetModified(true);
    if (rawCol != FGrid.Col()) {
        WriteToColumn(rawCol);
        link.SetModified(false);
    }
}

std::string TDBGridGxEditorHost::EditorTextOf(TField& field) const
{
    if (FGrid.DrawMemoText() && field.DataType() == ftMemo) {
        std::string text = field.AsString();
        std::string normalised;
        normalised.reserve(text.size() + text.size() / 8);
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                normalised += "\r\n";
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else {
                normalised += text[i];
            }
        }
        return normalised;
    }
    return field.EditText();
}

std::string TDBGridGxEditorHost::EditMaskOf(const TColumnGx& column) const
{
    if (!FGrid.DataLink()->Active() || column.Field() == nullptr || IsKeyPickList(column))
        return std::string();
    return column.Field()->EditMask();
}

int TDBGridGxEditorHost::EditLimitOf(const TColumnGx& column) const
{
    const TField* field = column.Field();
    if (field == nullptr || IsKeyPickList(column) || !IsStringType(field->DataType()))
        return 0;
    return field->Size();
}

bool TDBGridGxEditorHost::WheelToDropDown(bool down)
{
    auto* editor = dynamic_cast<TDBGridInplaceEdit*>(FGrid.InplaceEditor());
    return editor != nullptr && editor->isVisible() && editor->WheelDropDown(down);
}
