#include "grid/base/InplaceEdit.h"

#include "grid/base/CustomGrid.h"
#include "grid/base/GridKeys.h"
#include "ui/ExceptionReport.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <limits>

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QLineEdit(grid->viewport()), FGrid(grid) {
    setFrame(false);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        RunHandler([&] { OnTextEdited(text); });
    });
}

void TInplaceEdit::SetEditMask(const QString& mask) {
    FEditMask = mask;
    FMask.SetMask(mask);
    SetMaxLength(FMaxLength);
}

void TInplaceEdit::SetMaxLength(int value) {
    FMaxLength = value > 0 ? value : 0;
    // A mask's edit text has one character per position, literals included.
    const int limit = FMask.Active() ? FMask.Mask().Length() : FMaxLength;
    // No limit means none at all: a long memo must not be cut to fit.
    QLineEdit::setMaxLength(limit > 0 ? limit : std::numeric_limits<int>::max());
}

QString TInplaceEdit::ValueText() const { return FMask.Active() ? FMask.Value() : text(); }

void TInplaceEdit::SetValueText(const QString& value) {
    if (FMask.Active()) FMask.SetValue(value);
    else setText(value);
}

int TInplaceEdit::InvalidMaskPosition() const { return FMask.Active() ? FMask.InvalidPosition() : -1; }

bool TInplaceEdit::MaskedKey(const QKeyEvent& event, const QString& typed) {
    if (!FMask.Active()) return false;
    bool changed = false;
    if (typed == QStringLiteral("\b") || event.key() == Qt::Key_Backspace) {
        changed = FMask.Backspace();
    } else if (event.key() == Qt::Key_Delete) {
        changed = FMask.Delete();
    } else if (event.matches(QKeySequence::Paste)) {
        changed = FMask.TypeText(QGuiApplication::clipboard()->text());
    } else if (event.matches(QKeySequence::Cut)) {
        if (hasSelectedText()) {
            copy();
            changed = FMask.Delete();
        }
    } else if (IsPrintableKey(typed)) {
        changed = FMask.TypeText(typed);
    } else {
        return false;   // caret movement and the rest: the line edit's own
    }
    if (changed) {
        setModified(true);
        OnTextEdited(text());
    }
    return true;
}

void TInplaceEdit::Deselect() { end(false); }

void TInplaceEdit::UpdateContents() {
    clear();
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
    SetMaxLength(FGrid->GetEditLimit());
    SetValueText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
}

// ---- Placement ---------------------------------------------------------------

void TInplaceEdit::Move(const QRect& loc) {
    InternalMove(loc, true);
    if (isVisible() && FGrid->IsActiveControl()) SetFocus();
}

void TInplaceEdit::UpdateLoc(const QRect& loc) { InternalMove(loc, false); }

void TInplaceEdit::InternalMove(const QRect& loc, bool redraw) {
    if (loc.isEmpty()) {
        Hide();
        return;
    }
    setGeometry(FGrid->ViewportRect(loc));   // loc is the cell's logical rectangle
    // Text starts at the cell's leading edge, the right one when mirrored,
    // whatever the direction of the characters typed (a line edit would
    // otherwise put right-to-left text at the right of a left-to-right cell).
    setAlignment((FGrid->IsMirrored() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute);
    show();
    raise();
    BoundsChanged();
    if (redraw) update();
}

void TInplaceEdit::BoundsChanged() {}

void TInplaceEdit::Hide() {
    if (!isVisible()) return;
    // Give the focus back to the grid first, so that hiding does not pass it
    // on to some other control.
    QWidget* focused = window()->focusWidget();
    if (focused == this || isAncestorOf(focused)) FGrid->setFocus(Qt::OtherFocusReason);
    hide();
}

void TInplaceEdit::SetFocus() {
    if (isVisible()) setFocus(Qt::OtherFocusReason);
}

// ---- Keys ----------------------------------------------------------------

bool TInplaceEdit::event(QEvent* e) {
    return RunEventHandler([&] {
        // Tab and Shift+Tab belong to the grid when it moves between cells;
        // otherwise they leave the grid through the focus chain.
        if (e->type() == QEvent::KeyPress && FGrid->Options().Contains(goTabs)) {
            auto* ke = static_cast<QKeyEvent*>(e);
            if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
                keyPressEvent(ke);
                return true;
            }
        }
        return QLineEdit::event(e);
    });
}

void TInplaceEdit::keyPressEvent(QKeyEvent* e) {
    e->accept();
    int key = e->key();
    TShiftState shift = ShiftFromQt(e->modifiers());
    NormalizeKey(key, shift);
    KeyDown(key, shift);
    QString text = e->text();
    if (text == QStringLiteral("\x7f")) text.clear();
    if (!text.isEmpty()) {
        QString ch = text;
        KeyPress(ch);
        if (ch.isEmpty() || key == 0) return;
        if (ch != text) {
            QKeyEvent changed(QEvent::KeyPress, e->key(), e->modifiers(), ch);
            if (!MaskedKey(changed, ch)) QLineEdit::keyPressEvent(&changed);
            return;
        }
    }
    if (key == 0) return;
    // Clipboard and undo keys change the text without a typed character.
    const bool changesText = e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) ||
                             e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo);
    if (changesText && !FGrid->CanEditModify()) return;
    if (!MaskedKey(*e, text)) QLineEdit::keyPressEvent(e);
    e->accept();
}

void TInplaceEdit::keyReleaseEvent(QKeyEvent* e) {
    int key = e->key();
    TShiftState shift = ShiftFromQt(e->modifiers());
    NormalizeKey(key, shift);
    KeyUp(key, shift);
    if (key != 0) QLineEdit::keyReleaseEvent(e);
    e->accept();
}

void TInplaceEdit::SendToGrid(int& key, TShiftState shift) {
    FGrid->KeyDown(key, shift);
    key = 0;
}

bool TInplaceEdit::WholeTextSelected() const {
    return hasSelectedText() && selectionStart() == 0 && selectionLength() == text().length();
}

bool TInplaceEdit::CaretAtStart() const {
    // At the left side: nothing selected with the caret at 0, or all selected.
    if (!hasSelectedText()) return cursorPosition() == 0;
    return selectionStart() == 0;
}

bool TInplaceEdit::CaretAtEnd() const {
    if (!hasSelectedText()) return cursorPosition() == text().length();
    return selectionStart() == 0 && selectionEnd() == text().length();
}

void TInplaceEdit::KeyDown(int& key, TShiftState shift) {
    const bool forwardMovement = FGrid->Options().Contains(goAlwaysShowEditor);
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape: SendToGrid(key, shift); break;
    case Qt::Key_Insert:
        if (shift.Empty()) SendToGrid(key, shift);
        else if (shift == TShiftState{ssShift} && !FGrid->CanEditModify()) key = 0;
        break;
    case Qt::Key_Left:
    case Qt::Key_Home:
        if (forwardMovement && CaretAtStart()) SendToGrid(key, shift);
        break;
    case Qt::Key_Right:
    case Qt::Key_End:
        if (forwardMovement && CaretAtEnd()) SendToGrid(key, shift);
        break;
    case Qt::Key_F2:
        FGrid->DoKeyDownEvent(key, shift);
        if (key == Qt::Key_F2) {
            Deselect();
            key = 0;
        }
        return;
    case Qt::Key_Tab:
        if (!shift.Contains(ssAlt)) SendToGrid(key, shift);
        break;
    case Qt::Key_Delete:
        if (shift.Contains(ssCtrl)) SendToGrid(key, shift);
        else if (!FGrid->CanEditModify()) key = 0;
        break;
    default: break;
    }
    if (key != 0) FGrid->DoKeyDownEvent(key, shift);
}

void TInplaceEdit::KeyPress(QString& key) {
    FGrid->KeyPress(key);
    if (IsPrintableKey(key) && !FGrid->CanEditAcceptKey(key)) {
        key.clear();
        QApplication::beep();
    }
    if (key == QStringLiteral("\t") || key == QStringLiteral("\x1b")) {
        key.clear();
    } else if (key == QStringLiteral("\r")) {
        if (WholeTextSelected()) Deselect();
        else SelectAll();
        key.clear();
    } else if (key == QStringLiteral("\b") || key == QStringLiteral("\x16") ||
               key == QStringLiteral("\x18") || IsPrintableKey(key)) {
        if (!FGrid->CanEditModify()) key.clear();
    }
}

void TInplaceEdit::KeyUp(int& key, TShiftState shift) { FGrid->KeyUp(key, shift); }

void TInplaceEdit::TypeChar(const QString& ch) {
    QString key = ch;
    KeyPress(key);
    if (key.isEmpty()) return;
    const int code = key == QStringLiteral("\b") ? int(Qt::Key_Backspace) : int(Qt::Key_unknown);
    QKeyEvent typed(QEvent::KeyPress, code, Qt::NoModifier, key);
    if (!MaskedKey(typed, key)) QLineEdit::keyPressEvent(&typed);
}

bool TInplaceEdit::GridCanEditModify() { return FGrid->CanEditModify(); }

void TInplaceEdit::EditorTextChanged() {
    setModified(true);
    OnTextEdited(text());
}

void TInplaceEdit::OnTextEdited(const QString&) {
    const TGridCoord cell = FGrid->InplaceCell();
    if (cell.X >= 0 && cell.Y >= 0) FGrid->SetEditText(cell.X, cell.Y, ValueText());
}

// ---- Mouse ----------------------------------------------------------------

void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    QLineEdit::mouseDoubleClickEvent(e);
    DblClick();
}

void TInplaceEdit::DblClick() { FGrid->DblClick(); }
