// Hosting of the in-place editor: creating it through CreateEditor, filling
// it for the current cell, placing it over that cell, and hiding it again
// with its changed text handed to SetEditText.

#include "grid/base/CustomGrid.h"
#include "platform/ScopeGuard.h"

#include "grid/base/InplaceEdit.h"

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow() const {
    return (FOptions * TGridOptions{goRowSelect, goEditing}) == TGridOptions{goEditing} &&
           FEditorMode && (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

bool TCustomGrid::CanEditModify() { return true; }

bool TCustomGrid::CanEditAcceptKey(const QString&) const { return true; }

QString TCustomGrid::GetEditText(int, int) { return QString(); }

void TCustomGrid::SetEditText(int, int, const QString&) {}

QString TCustomGrid::GetEditMask(int, int) { return QString(); }

int TCustomGrid::GetEditLimit() { return 0; }

void TCustomGrid::SetEditorMode(bool value) {
    if (!value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit) FInplaceEdit->Deselect();
}

void TCustomGrid::ShowEditor() {
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid::HideEditor() {
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::InvalidateEditor() {
    // An editor shown over the current cell is refilled where it stands:
    // hiding it would end a press held on one of its buttons.
    if (FInplaceEdit && FInplaceEdit->isVisible() && FInplaceCol == FCurrent.X && FInplaceRow == FCurrent.Y &&
        CanEditShow()) {
        if (FInplaceEdit->isModified()) SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->ValueText());
        UpdateEditor();
        FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
        return;
    }
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
}

void TCustomGrid::HideEdit() {
    if (!FInplaceEdit) return;
    const int col = FInplaceCol;
    const int row = FInplaceRow;
    FInplaceCol = -1;
    FInplaceRow = -1;
    // The editor is hidden on every path, also when the grid refuses the text.
    TScopeExit hideOnExit([editor = FInplaceEdit] { editor->Hide(); });
    if (col >= 0 && row >= 0 && FInplaceEdit->isModified())
        SetEditText(col, row, FInplaceEdit->ValueText());
}

void TCustomGrid::UpdateEditor() {
    FInplaceCol = FCurrent.X;
    FInplaceRow = FCurrent.Y;
    FInplaceEdit->UpdateContents();
    FInplaceEdit->setModified(false);
    FInplaceEdit->SelectAll();
}

void TCustomGrid::UpdateEdit() {
    if (!CanEditShow()) return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        UpdateEditor();
    } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        HideEdit();
        UpdateEditor();
    }
    if (CanEditShow()) FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid::ShowEditorChar(const QString& ch) {
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->isVisible()) {
        FInplaceEdit->TypeChar(ch);
        return;
    }
    // No editor could open here: the character is an ordinary key press
    // rather than lost.
    QString key = ch;
    KeyPress(key);
}
