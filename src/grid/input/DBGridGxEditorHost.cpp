#include "grid/input/DBGridGxEditorHost.h"

#include "data/Field.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/InplaceEdit.h"

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

void TDBGridGxEditorHost::WriteToField()
{
    TInplaceEdit* editor = FGrid.InplaceEditor();
    const int index = FGrid.RawToDataColumn(FGrid.Col());
    if (!editor || index < 0 || index >= FGrid.Columns().Count())
        return;
    TColumnGx& column = *FGrid.Columns()[index];
    if (!column.Field() || !FGrid.DataLink()->Edit())
        return;
    column.UpdateData(editor->text().toStdString(), TVariant(), true);
}
