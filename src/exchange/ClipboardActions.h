#pragma once
// The grid's edit actions on its selection: copy, cut, paste and delete.
// Each takes the grid and a whole-grid flag (the grid passes false).
//
// Work that runs longer than progressDelayMs shows a progress dialog and
// the busy cursor; cancelling a paste or a delete stops it after the
// current record, keeps what was done and says how many records changed.

#include "exchange/LongWorkProgress.h"
#include "grid/input/GridClipboardActionsGx.h"

class TCustomDBGridGx;

// The selection in every format (ClipboardFormats.h), as a copy offers it.
std::unique_ptr<QMimeData> SelectionMimeData(TCustomDBGridGx& grid, bool wholeGrid,
                                             int progressDelayMs = TLongWorkProgress::DefaultDelayMs);
// Puts the selection on the clipboard in every format (ClipboardFormats.h).
void CopySelectionToClipboard(TCustomDBGridGx& grid, bool wholeGrid,
                              int progressDelayMs = TLongWorkProgress::DefaultDelayMs);
// Copy, then DeleteSelectedData with the same flag.
void CutSelectionToClipboard(TCustomDBGridGx& grid, bool wholeGrid,
                             int progressDelayMs = TLongWorkProgress::DefaultDelayMs);
// Imports the clipboard's interchange format, or else its plain text,
// into the selection; nothing happens when it holds neither.
void PasteIntoSelection(TCustomDBGridGx& grid, bool wholeGrid,
                        int progressDelayMs = TLongWorkProgress::DefaultDelayMs);
// Deletes the selected records (every record for the whole grid) or
// clears the cells of a rectangle or of columns, after the confirmation
// dgConfirmDelete asks for (SelectionDelete.cpp).
void DeleteSelectedData(TCustomDBGridGx& grid, bool wholeGrid,
                        int progressDelayMs = TLongWorkProgress::DefaultDelayMs);

// The actions as the grid's keys and standard edit actions call them.
class TDBGridGxClipboardActions : public TGridClipboardActionsGx {
public:
    void CopySelectionToClipboard(TCustomDBGridGx& grid) override;
    void CutSelectionToClipboard(TCustomDBGridGx& grid) override;
    void PasteIntoSelection(TCustomDBGridGx& grid) override;
    void DeleteSelectedData(TCustomDBGridGx& grid) override;
    bool ClipboardHasPasteableData() const override;
    std::unique_ptr<QMimeData> SelectionDragData(TCustomDBGridGx& grid) override;

    int ProgressDelayMs = TLongWorkProgress::DefaultDelayMs;
};
