#pragma once
// TInplaceEdit: the single-line editor a grid shows over its current cell.
// The grid creates it through CreateEditor, fills it with UpdateContents,
// places it with Move, and hides it again.  Navigation keys typed into the
// editor go back to the grid; typed characters pass the grid's edit gates
// (KeyPress, CanEditAcceptKey, CanEditModify) before they change the text.

#include "grid/base/GridTypes.h"
#include "grid/base/InplaceEditMask.h"

#include <QLineEdit>

class TCustomGrid;

class TInplaceEdit : public QLineEdit {
    Q_OBJECT
    friend class TCustomGrid;

public:
    explicit TInplaceEdit(TCustomGrid* grid);

    TCustomGrid* Grid() const { return FGrid; }

    // Edit mask in the classic picture syntax (characters 0 9 # L l A a C
    // c > < <> ! \ _ : / and literals, optionally followed by
    // ";save;blank"), applied by TEditMask.  The editor then shows the
    // mask's edit text; ValueText is the value it stands for.
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& mask);
    // The text the editor holds for its cell: the mask's value of the text
    // shown, or the text itself without a mask.
    QString ValueText() const;
    // Shows a cell's text (through the mask when there is one).
    void SetValueText(const QString& value);
    // The first character the mask refuses, -1 when the text is complete.
    int InvalidMaskPosition() const;
    // Maximum number of characters; 0 for no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);

    void Deselect();
    void SelectAll() { selectAll(); }
    bool Visible() const { return isVisible(); }
    void Invalidate() { update(); }

    // Places the editor over a cell rectangle and shows it, taking the focus
    // when the grid has it.  An empty rectangle hides the editor.
    void Move(const QRect& loc);
    // Places the editor without taking the focus.
    void UpdateLoc(const QRect& loc);
    // Hides the editor; the focus goes back to the grid when the editor had it.
    void Hide();
    void SetFocus();

    // Runs one typed character through the key-press gates and, when it
    // passes, into the text (replacing the selection).
    void TypeChar(const QString& ch);

    // Fills the editor for the grid's current cell: mask, text and limit.
    virtual void UpdateContents();

protected:
    // The editor's rectangle changed.
    virtual void BoundsChanged();
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(QString& key);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void DblClick();
    // Hands a key down to the grid; the key is consumed.
    void SendToGrid(int& key, TShiftState shift);
    // The grid's gate for changing the cell (it may start the dataset's edit).
    bool GridCanEditModify();
    // The editor changed its own text (a value taken from a drop-down):
    // marked modified and handed to the grid as typed text is.
    void EditorTextChanged();

    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void InternalMove(const QRect& loc, bool redraw);
    void OnTextEdited(const QString& text);
    // Runs a key through the edit mask; true when the mask took it.
    bool MaskedKey(const QKeyEvent& event, const QString& typed);
    bool WholeTextSelected() const;
    bool CaretAtStart() const;
    bool CaretAtEnd() const;

    TCustomGrid* FGrid;
    QString FEditMask;
    TInplaceEditMask FMask{*this};
    int FMaxLength = 0;
};
