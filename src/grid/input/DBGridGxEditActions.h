#pragma once
// The grid's standard edit actions: copy, cut, paste, delete and select
// all of its selection.  The keys (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Delete,
// Ctrl+A and their Insert/Delete twins), the platform's standard key
// sequences for them and any QAction whose shortcut is one of those
// sequences reach the same operations, each only when its member of
// EditActions is set and its enabling test holds (CopyAllowed and the
// others below).  Copy, cut, paste and delete-selection go through
// the installed TGridClipboardActionsGx; without one they stay disabled.

#include "grid/DBGridOptionsGx.h"

#include <optional>

class QAction;
class QKeyEvent;
class QKeySequence;
class TCustomDBGridGx;

// The edit action a standard key sequence stands for (copy, cut, paste,
// select all, delete), or none.
std::optional<TDBGridGxEditAction> StandardEditActionOf(const QKeySequence& sequence);
std::optional<TDBGridGxEditAction> StandardEditActionOf(const QKeyEvent& event);

// Runs a QAction's edit action on the grid; false when the action is not
// a standard edit action or the grid did not run it.
bool ExecuteGridAction(TCustomDBGridGx& grid, QAction& action);
// Enables or disables a standard edit action by the grid's tests; false
// (and the action untouched) when it is not one.
bool UpdateGridAction(TCustomDBGridGx& grid, QAction& action);

// The enabling tests of the selection's copy, cut, paste, delete and
// select all.
bool CopyAllowed(TCustomDBGridGx& grid);
bool CutAllowed(TCustomDBGridGx& grid);
bool PasteAllowed(TCustomDBGridGx& grid);
bool DeleteAllowed(TCustomDBGridGx& grid);
bool SelectAllAllowed(TCustomDBGridGx& grid);
// Runs one (testOnly: tests it) when EditActions has it and its test holds.
bool RunEditAction(TCustomDBGridGx& grid, TDBGridGxEditAction action, bool testOnly = false);
// The current column's can-modify test, with dgEditing on.
bool CanEditColumn(TCustomDBGridGx& grid);
