#include "grid/base/InplaceEdit.h"

#include "grid/base/CustomGrid.h"
#include "grid/base/GridKeys.h"

#include <QApplication>
#include <QKeyEvent>

namespace {
// Characters that carry a meaning in a QLineEdit input mask.
bool IsInputMaskSpecial(QChar c) {
    return QStringLiteral("AaNnXx90Dd#HhBb><![]{}\\;").contains(c);
}
}  // namespace

QString EditMaskToInputMask(const QString& mask) {
    if (mask.isEmpty()) return QString();
    const QStringList parts = mask.split(QLatin1Char(';'));
    const QString picture = parts.value(0);
    QChar blank = QLatin1Char('_');
    if (parts.size() > 2 && !parts[2].isEmpty()) blank = parts[2].at(0);
    QString out;
    for (int i = 0; i < picture.size(); ++i) {
        const QChar c = picture.at(i);
        switch (c.unicode()) {
        case '\\':
            if (i + 1 < picture.size()) {
                out += QLatin1Char('\\');
                out += picture.at(++i);
            }
            break;
        case '<':
            if (i + 1 < picture.size() && picture.at(i + 1) == QLatin1Char('>')) {
                out += QLatin1Char('!');
                ++i;
            } else {
                out += QLatin1Char('<');
            }
            break;
        case '>': out += QLatin1Char('>'); break;
        case '0': out += QLatin1Char('9'); break;  // digit required
        case '9': out += QLatin1Char('0'); break;  // digit optional
        case '#': out += QLatin1Char('#'); break;  // digit or sign, optional
        case 'L': out += QLatin1Char('A'); break;  // letter required
        case 'l': out += QLatin1Char('a'); break;  // letter optional
        case 'A': out += QLatin1Char('N'); break;  // letter or digit required
        case 'a': out += QLatin1Char('n'); break;  // letter or digit optional
        case 'C': out += QLatin1Char('X'); break;  // any character required
        case 'c': out += QLatin1Char('x'); break;  // any character optional
        case '!': break;                           // blank trimming: no equivalent needed
        case '_': out += QLatin1Char(' '); break;  // a literal blank
        default:
            if (IsInputMaskSpecial(c)) out += QLatin1Char('\\');
            out += c;
            break;
        }
    }
    return out + QLatin1Char(';') + blank;
}

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QLineEdit(grid->viewport()), FGrid(grid) {
    setFrame(false);
    hide();
    connect(this, &QLineEdit::textEdited, this, &TInplaceEdit::OnTextEdited);
}

void TInplaceEdit::SetEditMask(const QString& mask) {
    FEditMask = mask;
    setInputMask(EditMaskToInputMask(mask));
}

void TInplaceEdit::SetMaxLength(int value) {
    FMaxLength = value > 0 ? value : 0;
    QLineEdit::setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TInplaceEdit::Deselect() { end(false); }

void TInplaceEdit::UpdateContents() {
    clear();
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
    setText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    SetMaxLength(FGrid->GetEditLimit());
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
    setGeometry(loc);
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
    if (window()->focusWidget() == this) FGrid->setFocus(Qt::OtherFocusReason);
    hide();
}

void TInplaceEdit::SetFocus() {
    if (isVisible()) setFocus(Qt::OtherFocusReason);
}

// ---- Keys ----------------------------------------------------------------

bool TInplaceEdit::event(QEvent* e) {
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
}

void TInplaceEdit::keyPressEvent(QKeyEvent* e) {
    e->accept();
    int key = e->key();
    TShiftState shift = TCustomGrid::ShiftFromQt(e->modifiers());
    TCustomGrid::NormalizeKey(key, shift);
    KeyDown(key, shift);
    QString text = e->text();
    if (text == QStringLiteral("\x7f")) text.clear();
    if (!text.isEmpty()) {
        QString ch = text;
        KeyPress(ch);
        if (ch.isEmpty() || key == 0) return;
        if (ch != text) {
            QKeyEvent changed(QEvent::KeyPress, e->key(), e->modifiers(), ch);
            QLineEdit::keyPressEvent(&changed);
            return;
        }
    }
    if (key == 0) return;
    // Clipboard and undo keys change the text without a typed character.
    const bool changesText = e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) ||
                             e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo);
    if (changesText && !FGrid->CanEditModify()) return;
    QLineEdit::keyPressEvent(e);
    e->accept();
}

void TInplaceEdit::keyReleaseEvent(QKeyEvent* e) {
    int key = e->key();
    TShiftState shift = TCustomGrid::ShiftFromQt(e->modifiers());
    TCustomGrid::NormalizeKey(key, shift);
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
    QLineEdit::keyPressEvent(&typed);
}

void TInplaceEdit::OnTextEdited(const QString& text) {
    if (FGrid->FInplaceCol >= 0 && FGrid->FInplaceRow >= 0)
        FGrid->SetEditText(FGrid->FInplaceCol, FGrid->FInplaceRow, text);
}

// ---- Mouse ----------------------------------------------------------------

void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    QLineEdit::mouseDoubleClickEvent(e);
    DblClick();
}

void TInplaceEdit::DblClick() { FGrid->DblClick(); }
