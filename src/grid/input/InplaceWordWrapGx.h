#pragma once
// Multi-line editing for the grid's in-place editor: a text box over the
// editor's text area that wraps long lines and takes line breaks typed with
// Ctrl+Enter.  The editor's own text stays the cell's text (line breaks as
// CR LF, as the grid hands a memo to the editor); every change typed into
// the box is copied there and reaches the grid as typed text does.
//
// The box passes the keys that leave the text (Esc, Tab, Enter, F2, PgUp,
// PgDn, ...) to the editor, and Up on the first line or Down on the last one
// (or either with the whole text selected) when the grid always shows its
// editor; without that option Up and Down always go to the grid.  Typed
// characters pass the editor's key gates and its length limit first.

#include <QObject>

class QKeyEvent;
class QPlainTextEdit;
class TDBGridInplaceEdit;

class TInplaceWordWrapGx : public QObject {
public:
    explicit TInplaceWordWrapGx(TDBGridInplaceEdit& editor);
    ~TInplaceWordWrapGx() override;

    bool Active() const { return FActive; }
    // Shows or hides the box; the editor passes its focus on to it while shown.
    void SetActive(bool value);
    QPlainTextEdit& Box() const { return *FBox; }
    // Places the box beside the strip of edit buttons.
    void Place(int buttonStripWidth, bool rightToLeft);
    // Takes the editor's text, font, colours and read-only state.
    void FollowEditor();

    // Text conversions between the editor (CR LF) and the box (LF).
    static QString ToBoxText(const QString& editorText);
    static QString ToEditorText(const QString& boxText);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A key for the box; true when it was handled here.
    bool BoxKey(QKeyEvent& event);
    // Up or Down that leaves the text for the grid.
    bool LeavesText(int key) const;
    // Whether a typed text passes the editor's gates (it may come back changed).
    bool PassesGates(QString& typed);
    // Whether `added` more characters fit the editor's length limit.
    bool FitsLimit(int added) const;
    void BoxTextChanged();

    TDBGridInplaceEdit& FEditor;
    QPlainTextEdit* FBox;
    bool FActive = false;
    bool FFollowing = false;   // the box is being filled from the editor
};
