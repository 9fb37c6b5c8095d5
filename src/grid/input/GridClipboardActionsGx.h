#pragma once
// TGridClipboardActionsGx: the copy, cut, paste and delete-selection
// operations that the grid's keys (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Delete and
// their Insert/Delete twins) and the standard edit actions start.  The data
// exchange layer implements them and the program installs one in the grid
// (TCustomDBGridGx::SetClipboardActions); a grid without one leaves those
// keys inert and the actions disabled.

#include <QMimeData>

#include <memory>

class TCustomDBGridGx;

class TGridClipboardActionsGx {
public:
    virtual ~TGridClipboardActionsGx() = default;

    virtual void CopySelectionToClipboard(TCustomDBGridGx& grid) = 0;
    // Copy, then delete what was copied.
    virtual void CutSelectionToClipboard(TCustomDBGridGx& grid) = 0;
    virtual void PasteIntoSelection(TCustomDBGridGx& grid) = 0;
    // Deletes the selected records or clears the selected cells, after the
    // confirmation the grid's options ask for.
    virtual void DeleteSelectedData(TCustomDBGridGx& grid) = 0;
    // Whether the clipboard offers something paste can read: the
    // interchange format or plain text.
    virtual bool ClipboardHasPasteableData() const = 0;
    // What a drag of the selection carries: what a copy would put on the
    // clipboard.  Null: the selection is not dragged.
    virtual std::unique_ptr<QMimeData> SelectionDragData(TCustomDBGridGx& /*grid*/) { return nullptr; }
};
