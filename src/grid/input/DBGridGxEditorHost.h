#pragma once
// TDBGridGxEditorHost: the data grid's side of the in-place editor: which
// editor a cell gets, the text it starts from (with the key behind a lookup
// or key pick list cell), the mask and length it takes, and writing its
// text back into the current field.

#include "platform/Variant.h"

#include <string>

class TColumnGx;
class TCustomDBGridGx;
class TField;
class TInplaceEdit;

class TDBGridGxEditorHost {
public:
    explicit TDBGridGxEditorHost(TCustomDBGridGx& grid) : FGrid(grid) {}
    virtual ~TDBGridGxEditorHost() = default;
    TDBGridGxEditorHost(const TDBGridGxEditorHost&) = delete;
    TDBGridGxEditorHost& operator=(const TDBGridGxEditorHost&) = delete;

    // ---- hooks
    // The editor the grid shows over its cells: a TDBGridInplaceEdit.
    virtual TInplaceEdit* CreateEditor();
    // The column a grid column shows, or nullptr (the indicator).
    TColumnGx* ColumnAt(int rawCol) const;

    // The text the editor starts from in a grid column: the pick list line
    // standing for the field's key (key pick lists), the special row's text
    // for its key (lookup columns), else EditorTextOf.  Kept as the edit
    // text; a lookup column's key value is kept with it (null otherwise).
    std::string CellEditText(int rawCol);
    // The editor's text as the user left it in a grid column: kept and
    // marked pending for the data link, unless it is the text already
    // kept.  Pending text of a column that is no longer current (the
    // grid's column was set without the keys or the mouse) is written to
    // its field at once rather than lost.
    void SetCellEditText(int rawCol, const std::string& text);
    // The text to write back and the key value behind it.
    const std::string& EditText() const { return FEditText; }
    const TVariant& LookupKeyValue() const { return FLookupKeyValue; }
    void SetLookupKeyValue(const TVariant& value) { FLookupKeyValue = value; }

    // The text the editor holds for a field: its edit text, or with
    // DrawMemoText a memo's text with every line break as CR LF.
    std::string EditorTextOf(TField& field) const;
    // The edit mask of a column's cells: its field's EditMask; none without
    // an active link or a field, or for a key pick list.
    std::string EditMaskOf(const TColumnGx& column) const;
    // The most characters a column's cells take: the size of a string
    // field; 0 (no limit) for other fields and key pick lists.
    int EditLimitOf(const TColumnGx& column) const;
    // Writes the editor's pending text into the current column's field: a
    // pick list line as text, the key of a key pick list line or of a
    // lookup value as value, any other text as the field's edit text.  A
    // text its edit mask refuses raises an error naming the field, with the
    // caret on the refused character; nothing is written then.
    void WriteToField();
    // Hands one wheel notch to the shown editor's open drop-down; false
    // when none is open (the grid then moves its records).
    bool WheelToDropDown(bool down);

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    void WriteToColumn(int rawCol);
    void WriteKeyPickList(TColumnGx& column, const std::string& text);
    void WriteLookup(TColumnGx& column, const std::string& text);
    void WritePickList(TColumnGx& column, const std::string& text);

    TCustomDBGridGx& FGrid;
    std::string FEditText;
    TVariant FLookupKeyValue;
};
