#pragma once
// TDBGridGxEditorHost: the data grid's side of the in-place editor: which
// editor a cell gets, the text it starts from, and writing its text back
// into the current field.

#include <string>

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
    // Writes the editor's pending text into the current column's field.
    void WriteToField();

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    TCustomDBGridGx& FGrid;
};
