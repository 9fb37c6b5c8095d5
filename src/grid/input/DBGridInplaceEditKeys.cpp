// The in-place editor's own keys: Ctrl+Enter on ellipsis and drop-down
// cells, Delete and Backspace in lookup and key pick list cells, Enter as
// Tab, Ctrl+F, the special row's shortcut, and type-ahead in pick list and
// lookup cells (with OnNotInList deciding whether an unmatched text stays);
// a paste into a lookup or key pick list cell is matched as typed text.

#include "grid/input/DBGridInplaceEdit.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "editors/LookupTypeAheadGx.h"
#include "editors/PopupDataListGx.h"
#include "editors/PopupListbox.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/GridKeys.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxEditorHost.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace {

bool IsLookupCell(const TColumnGx& column) { return column.ColumnKind() == ckLookupField; }
bool IsKeyPickCell(const TColumnGx& column) { return column.ColumnKind() == ckKeyPickList; }

bool MatchesShortCut(const QKeyEvent& event, const QKeySequence& shortCut)
{
    if (shortCut.isEmpty())
        return false;
    const QKeyCombination pressed(event.modifiers() & ~Qt::KeypadModifier, static_cast<Qt::Key>(event.key()));
    return shortCut[0] == pressed && shortCut.count() == 1;
}

} // namespace

bool TDBGridInplaceEdit::EditorKeyDown(QKeyEvent& event)
{
    TColumnGx* column = Column();
    if (column == nullptr)
        return false;
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && modifiers == Qt::ControlModifier && (FEditStyle == esEllipsisGx || FEditStyle == esDropDownGx)) {
        // The button's click, and no line break in the text.
        if (FDBGrid.OnEditButtonClick)
            FDBGrid.OnEditButtonClick();
        return true;
    }
    if (key == Qt::Key_Delete && modifiers == Qt::NoModifier && (IsLookupCell(*column) || IsKeyPickCell(*column)) &&
        column->CanModify(false))
        return DeleteLookupKey(*column);
    if (key == Qt::Key_Backspace && (IsLookupCell(*column) || IsKeyPickCell(*column)))
        return BackspaceLookupKey(*column);
    if (event.matches(QKeySequence::Paste) && (FEditStyle == esDataListGx || IsKeyPickCell(*column))) {
        // Pasted text is matched as if it were typed.
        const QString pasted = QGuiApplication::clipboard()->text();
        if (!pasted.isEmpty() && GridCanEditModify())
            TypeAhead(*column, pasted);
        return true;
    }
    int gridKey = key;
    if (enter && modifiers == Qt::NoModifier && FDBGrid.OptionsGx().Contains(dghEnterAsTab)) {
        SendToGrid(gridKey, ShiftFromQt(event.modifiers()));
        return true;
    }
    if (key == Qt::Key_F && modifiers == Qt::ControlModifier && FDBGrid.OptionsGx().Contains(dghIncSearch)) {
        SendToGrid(gridKey, ShiftFromQt(event.modifiers()));
        return true;
    }
    return FEditStyle == esDataListGx && SpecRowKey(*column, event);
}

// Delete on a lookup or key pick list cell: a fully selected text clears
// the value; a part is deleted only where a text outside the list may stay.
bool TDBGridInplaceEdit::DeleteLookupKey(TColumnGx& column)
{
    const bool whole = hasSelectedText() && selectedText().length() == text().length();
    if (whole) {
        if (!column.CanModify(true))
            return true;
        if (IsLookupCell(column) && FEditStyle == esDataListGx) {
            WriteLookupKey(column, TVariant::Null());
            setText(QString());
            if (ListVisible())
                FDataList->SetKeyValue(TVariant::Null());
        } else if (IsKeyPickCell(column) && FEditStyle == esPickListGx) {
            TakeText(QString(), -1);
            ListFollowsText(column);
        }
        return true;
    }
    if (!column.OnNotInList || !column.CanModify(true))
        return true;
    QString value = text();
    if (hasSelectedText()) {
        const int start = selectionStart();
        value.remove(start, selectedText().length());
        TakeText(value, -1);
        setCursorPosition(start);
    } else if (cursorPosition() < value.length()) {
        const int at = cursorPosition();
        value.remove(at, 1);
        TakeText(value, -1);
        setCursorPosition(at);
    }
    ListFollowsText(column);
    return true;
}

// Backspace: where only list values may stand it moves the caret left (the
// matched prefix shrinks); with OnNotInList it deletes as usual.
bool TDBGridInplaceEdit::BackspaceLookupKey(TColumnGx& column)
{
    if (!column.OnNotInList) {
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        if (start > 0)
            setSelection(text().length(), start - 1 - text().length());
        return true;
    }
    if (!column.CanModify(true))
        return true;
    QString value = text();
    int at = cursorPosition();
    if (hasSelectedText()) {
        at = selectionStart();
        value.remove(at, selectedText().length());
    }
    if (at > 0) {
        value.remove(at - 1, 1);
        --at;
    }
    TakeText(value, -1);
    setCursorPosition(at);
    ListFollowsText(column);
    return true;
}

bool TDBGridInplaceEdit::SpecRowKey(TColumnGx& column, const QKeyEvent& event)
{
    const TSpecRowGx* specRow = column.DropDownSpecRow();
    if (specRow == nullptr || !specRow->Visible() || !MatchesShortCut(event, specRow->ShortCut()))
        return false;
    if (!column.CanModify(true))
        return false;
    WriteLookupKey(column, specRow->Value());
    setText(QString::fromStdString(specRow->CellText(0)));
    setModified(false);
    if (ListVisible())
        FDataList->SetKeyValue(specRow->Value());
    selectAll();
    return true;
}

// ---- type-ahead

void TDBGridInplaceEdit::KeyPress(QString& key)
{
    TInplaceEdit::KeyPress(key);
    TColumnGx* column = Column();
    if (key.isEmpty() || column == nullptr || !IsPrintableKey(key))
        return;
    if (TypeAhead(*column, key))
        key.clear();
}

bool TDBGridInplaceEdit::TypeAhead(TColumnGx& column, const QString& typed)
{
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    const QString candidate = text().left(caret) + typed;
    if (FEditStyle == esDataListGx) {
        const TDataSet* dataSet = FDBGrid.DataLink()->DataSet();
        const bool mayChange = FDBGrid.AllowedOperations().Contains(alopUpdateGx) ||
                               (dataSet != nullptr && dataSet->State() == dsInsert);
        return !mayChange || TypeAheadDataList(column, candidate);
    }
    if (IsKeyPickCell(column) || FEditStyle == esPickListGx)
        return TypeAheadPickList(column, candidate);
    return false;
}

bool TDBGridInplaceEdit::TypeAheadDataList(TColumnGx& column, const QString& candidate)
{
    TField* field = column.Field();
    TDataSet* lookup = field != nullptr ? field->LookupDataSet() : nullptr;
    TField* result = lookup != nullptr && lookup->Active() ? lookup->FindField(field->LookupResultField) : nullptr;
    if (result == nullptr)
        return true;
    if (FTypeAhead.Find(*result, candidate.toStdString())) {
        const TVariant key = lookup->FieldValues(field->LookupKeyFields);
        WriteLookupKey(column, key);
        const QString found = QString::fromStdString(result->AsString());
        setText(found);
        setModified(false);
        setSelection(found.length(), candidate.length() - found.length());
        if (ListVisible())
            FDataList->SetKeyValue(key);
    } else if (column.OnNotInList) {
        WriteLookupKey(column, TVariant::Null());
        TakeText(candidate, -1);
        if (ListVisible())
            FDataList->SetKeyValue(TVariant::Null());
    }
    return true;
}

bool TDBGridInplaceEdit::TypeAheadPickList(TColumnGx& column, const QString& candidate)
{
    const std::string prefix = candidate.toStdString();
    const TStringListGx& lines = column.PickList();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!TLookupTypeAheadGx::StartsWithIgnoringCase(lines[i], prefix))
            continue;
        const QString line = QString::fromStdString(lines[i]);
        TakeText(line, static_cast<int>(candidate.length()));
        if (ListVisible() && FPickList != nullptr)
            FPickList->setCurrentRow(static_cast<int>(i));
        return true;
    }
    if (column.OnNotInList) {
        TakeText(candidate, -1);
        if (ListVisible() && FPickList != nullptr)
            FPickList->setCurrentRow(-1);
        return true;
    }
    return IsKeyPickCell(column);
}

void TDBGridInplaceEdit::TakeText(const QString& value, int selectFrom)
{
    setText(value);
    EditorTextChanged();
    if (selectFrom >= 0 && selectFrom < value.length())
        setSelection(value.length(), selectFrom - value.length());
    else
        setCursorPosition(value.length());
}

void TDBGridInplaceEdit::ListFollowsText(TColumnGx& column)
{
    if (!ListVisible())
        return;
    if (FEditStyle == esPickListGx && FPickList != nullptr) {
        const std::string prefix = text().toStdString();
        int row = -1;
        for (size_t i = 0; i < column.PickList().size() && row < 0 && !prefix.empty(); ++i)
            if (TLookupTypeAheadGx::StartsWithIgnoringCase(column.PickList()[i], prefix))
                row = static_cast<int>(i);
        FPickList->setCurrentRow(row);
    } else if (FEditStyle == esDataListGx && FDataList != nullptr && text().isEmpty()) {
        FDataList->SetKeyValue(TVariant::Null());
    }
}

void TDBGridInplaceEdit::WriteLookupKey(TColumnGx& column, const TVariant& key)
{
    if (!column.CanModify(true))
        return;
    column.UpdateData(std::string(), key, false);
}
