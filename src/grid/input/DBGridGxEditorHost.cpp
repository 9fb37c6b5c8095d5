#include "grid/input/DBGridGxEditorHost.h"

#include "data/Field.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/InplaceEdit.h"
#include "platform/Exceptions.h"

TInplaceEdit* TDBGridGxEditorHost::CreateEditor()
{
    return nullptr;
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
    if (!FGrid.DataLink()->Active() || column.Field() == nullptr ||
        (column.HasKeyList() && !column.KeyList().empty()))
        return std::string();
    return column.Field()->EditMask();
}

int TDBGridGxEditorHost::EditLimitOf(const TColumnGx& column) const
{
    const TField* field = column.Field();
    if (field == nullptr || (column.HasKeyList() && !column.KeyList().empty()) ||
        !IsStringType(field->DataType()))
        return 0;
    return field->Size();
}

void TDBGridGxEditorHost::WriteToField()
{
    TInplaceEdit* editor = FGrid.InplaceEditor();
    const int index = FGrid.RawToDataColumn(FGrid.Col());
    if (!editor || index < 0 || index >= FGrid.Columns().Count())
        return;
    TColumnGx& column = *FGrid.Columns()[index];
    if (!column.Field())
        return;
    const int refused = editor->InvalidMaskPosition();
    if (refused >= 0) {
        editor->setCursorPosition(refused);
        throw EDatabaseError("Invalid input value for field '" + column.Field()->DisplayName() +
                             "'. Use the Esc key to abandon changes");
    }
    if (!FGrid.DataLink()->Edit())
        return;
    column.UpdateData(editor->ValueText().toStdString(), TVariant(), true);
}
