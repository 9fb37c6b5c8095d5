#pragma once
// TDBGridGxEditorHost: the data grid's side of the in-place editor: which
// editor a cell gets, the text it starts from, and writing its text back
// into the current field.

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
    // The editor to make when the grid shows one first; null leaves it to
    // the cell grid's plain editor.
    virtual TInplaceEdit* CreateEditor();

    // The text the editor holds for a field: its edit text, or with
    // DrawMemoText a memo's text with every line break as CR LF.
    std::string EditorTextOf(TField& field) const;
    // The edit mask of a column's cells: its field's EditMask; none without
    // an active link or a field, or for a key pick list.
    std::string EditMaskOf(const TColumnGx& column) const;
    // The most characters a column's cells take: the size of a string
    // field; 0 (no limit) for other fields and key pick lists.
    int EditLimitOf(const TColumnGx& column) const;
    // Writes the editor's pending text into the current column's field.  A
    // text its edit mask refuses raises an error naming the field, with the
    // caret on the refused character; nothing is written then.
    void WriteToField();

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    TCustomDBGridGx& FGrid;
};
