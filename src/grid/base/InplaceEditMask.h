#pragma once
// The edit mask of an in-place editor applied to its QLineEdit: the editor
// shows the mask's edit text (literals in place, empty positions as the
// blank character) and typing overwrites one position at a time; Backspace,
// Delete, Cut and Paste keep the literals where they are.  Texts cross the
// boundary as the mask's value (literals only when the mask saves them).

#include "platform/EditMask.h"

#include <QString>

class QLineEdit;

class TInplaceEditMask {
public:
    explicit TInplaceEditMask(QLineEdit& edit) : FEdit(edit) {}

    bool Active() const { return !FMask.Empty(); }
    const TEditMask& Mask() const { return FMask; }
    void SetMask(const QString& mask);

    // Shows a value through the mask.
    void SetValue(const QString& value);
    // The value of the text shown.
    QString Value() const;
    // The first position the mask refuses, -1 when the text is complete.
    int InvalidPosition() const;

    // Editing at the caret or over the selection; false when nothing changed.
    bool TypeText(const QString& text);
    bool Backspace();
    bool Delete();

private:
    std::u32string Shown() const;
    // Puts a new edit text with the caret at a mask position.
    void Show(const std::u32string& text, int caret);
    // The selection (or the caret) as mask positions [from, to).
    void Selection(int& from, int& to) const;

    QLineEdit& FEdit;
    TEditMask FMask;
};
