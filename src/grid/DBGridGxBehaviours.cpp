// The grid's behaviour objects: a descendant may put its own in, and the
// grid hands keys, mouse events and the making of its editor to them first;
// what they leave goes to the cell grid.

#include "grid/DBGridGx.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/GridDataLinkGx.h"
#include "grid/footers/DBGridGxFooterSummaries.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/input/DBGridGxMouse.h"
#include "grid/titles/DBGridGxTitleTree.h"
#include "ui/DialogService.h"

#include <QInputMethodEvent>

void TCustomDBGridGx::SetKeyboard(std::unique_ptr<TDBGridGxKeyboard> value) { D->FKeyboard = std::move(value); }

void TCustomDBGridGx::SetMouse(std::unique_ptr<TDBGridGxMouse> value) { D->FMouse = std::move(value); }

void TCustomDBGridGx::SetEditorHost(std::unique_ptr<TDBGridGxEditorHost> value) { D->FEditorHost = std::move(value); }

void TCustomDBGridGx::SetTitleTree(std::unique_ptr<TDBGridGxTitleTree> value)
{
    D->FTitleTree = std::move(value);
    RequestLayout();
}

void TCustomDBGridGx::SetFooterSummaries(std::unique_ptr<TDBGridGxFooterSummaries> value)
{
    D->FFooterSummaries = std::move(value);
    RowWindowOf(*this).InvalidateFooters();
}

TGridClipboardActionsGx* TCustomDBGridGx::ClipboardActions() const { return D->FClipboardActions.get(); }

void TCustomDBGridGx::SetClipboardActions(std::unique_ptr<TGridClipboardActionsGx> value)
{
    D->FClipboardActions = std::move(value);
}

void TCustomDBGridGx::KeyDown(int& key, TShiftState shift)
{
    if (!D->FKeyboard->KeyDown(key, shift))
        TCustomGrid::KeyDown(key, shift);
}

void TCustomDBGridGx::KeyPress(QString& key)
{
    if (!D->FKeyboard->KeyPress(key))
        TCustomGrid::KeyPress(key);
}

void TCustomDBGridGx::KeyUp(int& key, TShiftState shift)
{
    if (!D->FKeyboard->KeyUp(key, shift))
        TCustomGrid::KeyUp(key, shift);
}

void TCustomDBGridGx::HandleChar(QString& key)
{
    if (!D->FKeyboard->HandleChar(key))
        TCustomGrid::HandleChar(key);
}

void TCustomDBGridGx::inputMethodEvent(QInputMethodEvent* e)
{
    // Each committed character arrives as if typed.
    const QString text = e->commitString();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QString ch = text.mid(i, length);
        HandleChar(ch);
        i += length;
    }
    e->accept();
}

// A failure of a mouse action (a post refused when the click leaves the
// row) is shown, and the drag it interrupted ends.
void TCustomDBGridGx::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    try {
        if (!D->FMouse->MouseDown(button, shift, x, y))
            TCustomGrid::MouseDown(button, shift, x, y);
    } catch (const std::exception& error) {
        CancelMode();
        ShowException(error);
    }
}

void TCustomDBGridGx::MouseMove(TShiftState shift, int x, int y)
{
    try {
        if (!D->FMouse->MouseMove(shift, x, y))
            TCustomGrid::MouseMove(shift, x, y);
    } catch (const std::exception& error) {
        CancelMode();
        ShowException(error);
    }
}

void TCustomDBGridGx::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    try {
        if (!D->FMouse->MouseUp(button, shift, x, y))
            TCustomGrid::MouseUp(button, shift, x, y);
    } catch (const std::exception& error) {
        CancelMode();
        ShowException(error);
    }
}

TInplaceEdit* TCustomDBGridGx::CreateEditor()
{
    if (TInplaceEdit* editor = D->FEditorHost->CreateEditor())
        return editor;
    return TCustomGrid::CreateEditor();
}

QString TCustomDBGridGx::GetEditText(int col, int)
{
    return QString::fromStdString(D->FEditorHost->CellEditText(col));
}

void TCustomDBGridGx::SetEditText(int col, int, const QString& value)
{
    D->FEditorHost->SetCellEditText(col, value.toStdString());
}

QString TCustomDBGridGx::GetEditMask(int col, int)
{
    const TColumnGx* column = D->FEditorHost->ColumnAt(col);
    return column != nullptr ? QString::fromStdString(D->FEditorHost->EditMaskOf(*column)) : QString();
}

int TCustomDBGridGx::GetEditLimit()
{
    const TColumnGx* column = D->FEditorHost->ColumnAt(Col());
    return column != nullptr ? D->FEditorHost->EditLimitOf(*column) : 0;
}
