#include "grid/input/InplaceWordWrapGx.h"

#include "grid/base/CustomGrid.h"
#include "grid/base/GridKeys.h"
#include "grid/input/DBGridInplaceEdit.h"
#include "ui/ExceptionReport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <algorithm>

TInplaceWordWrapGx::TInplaceWordWrapGx(TDBGridInplaceEdit& editor) : FEditor(editor), FBox(new QPlainTextEdit(&editor))
{
    FBox->setFrameShape(QFrame::NoFrame);
    FBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    FBox->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    FBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FBox->setTabChangesFocus(true);
    FBox->document()->setDocumentMargin(1);
    FBox->hide();
    FBox->installEventFilter(this);
    connect(FBox, &QPlainTextEdit::textChanged, this, [this] { RunHandler([this] { BoxTextChanged(); }); });
}

TInplaceWordWrapGx::~TInplaceWordWrapGx() { FBox->removeEventFilter(this); }

void TInplaceWordWrapGx::SetActive(bool value)
{
    if (value == FActive)
        return;
    const bool hadFocus = FEditor.hasFocus() || FBox->hasFocus();
    FActive = value;
    FEditor.setFocusProxy(value ? FBox : nullptr);
    FBox->setVisible(value);
    if (hadFocus)
        (value ? static_cast<QWidget*>(FBox) : &FEditor)->setFocus(Qt::OtherFocusReason);
}

void TInplaceWordWrapGx::Place(int buttonStripWidth, bool rightToLeft)
{
    const int width = std::max(0, FEditor.width() - buttonStripWidth);
    FBox->setGeometry(rightToLeft ? buttonStripWidth : 0, 0, width, FEditor.height());
}

void TInplaceWordWrapGx::FollowEditor()
{
    FFollowing = true;
    FBox->setFont(FEditor.font());
    FBox->setPalette(FEditor.palette());
    FBox->setReadOnly(FEditor.isReadOnly());
    FBox->setInputMethodHints(FEditor.inputMethodHints());
    FBox->setAttribute(Qt::WA_InputMethodEnabled, FEditor.testAttribute(Qt::WA_InputMethodEnabled));
    FBox->setPlainText(ToBoxText(FEditor.text()));
    FBox->selectAll();
    FFollowing = false;
}

QString TInplaceWordWrapGx::ToBoxText(const QString& editorText)
{
    QString text = editorText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString TInplaceWordWrapGx::ToEditorText(const QString& boxText)
{
    QString text = boxText;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void TInplaceWordWrapGx::BoxTextChanged()
{
    if (FFollowing || !FActive)
        return;
    FEditor.setText(ToEditorText(FBox->toPlainText()));
    FEditor.EditorTextChanged();
}

bool TInplaceWordWrapGx::eventFilter(QObject* watched, QEvent* event)
{
    return RunEventHandler([&] {
        if (watched == FBox && FActive && event->type() == QEvent::KeyPress)
            return BoxKey(*static_cast<QKeyEvent*>(event));
        if (watched == FBox && FActive && event->type() == QEvent::ShortcutOverride) {
            // Keys the grid acts on are not taken as shortcuts of the box.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
                return true;
        }
        return QObject::eventFilter(watched, event);
    });
}

bool TInplaceWordWrapGx::LeavesText(int key) const
{
    if (!FEditor.Grid()->Options().Contains(goAlwaysShowEditor))
        return true;
    const QTextCursor cursor = FBox->textCursor();
    const bool whole = cursor.hasSelection() && cursor.selectionStart() == 0 &&
                       cursor.selectionEnd() == FBox->document()->characterCount() - 1;
    if (whole)
        return true;
    const QTextBlock block = cursor.block();
    const int lineInBlock = block.layout() != nullptr ? block.layout()->lineForTextPosition(cursor.positionInBlock()).lineNumber() : 0;
    const int linesInBlock = block.layout() != nullptr ? block.layout()->lineCount() : 1;
    if (key == Qt::Key_Up)
        return block == FBox->document()->firstBlock() && lineInBlock <= 0;
    return block == FBox->document()->lastBlock() && lineInBlock >= linesInBlock - 1;
}

bool TInplaceWordWrapGx::PassesGates(QString& typed)
{
    FEditor.KeyPress(typed);
    return !typed.isEmpty() && FitsLimit(static_cast<int>(typed.length()));
}

bool TInplaceWordWrapGx::FitsLimit(int added) const
{
    const int limit = FEditor.MaxLength();
    if (limit <= 0)
        return true;
    // The selection's line breaks count as CR LF, as in the cell's text.
    const QString selected = FBox->textCursor().selection().toPlainText();
    const int after = static_cast<int>(FEditor.text().length() - ToEditorText(selected).length()) + added;
    if (after <= limit)
        return true;
    QApplication::beep();
    return false;
}

bool TInplaceWordWrapGx::BoxKey(QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && modifiers == Qt::ControlModifier) {
        // A line break of the text (CR LF in the cell's text).
        if (FEditor.GridCanEditModify() && FitsLimit(2))
            FBox->insertPlainText(QStringLiteral("\n"));
        return true;
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && modifiers == Qt::NoModifier && !LeavesText(key))
        return false;
    const bool editing = key == Qt::Key_Backspace || key == Qt::Key_Delete || event.matches(QKeySequence::Paste) ||
                         event.matches(QKeySequence::Cut) || event.matches(QKeySequence::Undo) ||
                         event.matches(QKeySequence::Redo);
    if (editing && !(key == Qt::Key_Delete && modifiers.testFlag(Qt::ControlModifier)))
        return !FEditor.GridCanEditModify();
    const bool moves = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End ||
                       event.matches(QKeySequence::SelectAll) || event.matches(QKeySequence::Copy) ||
                       ((key == Qt::Key_Up || key == Qt::Key_Down) && modifiers.testFlag(Qt::ShiftModifier));
    if (moves)
        return false;
    QString typed = event.text();
    if (IsPrintableKey(typed) && !enter) {
        const QString original = typed;
        if (!PassesGates(typed))
            return true;
        if (typed == original)
            return false;
        FBox->insertPlainText(typed);
        return true;
    }
    // Enter, Esc, Tab, F2, PgUp, PgDn and the rest: the editor's (and the grid's) keys.
    QApplication::sendEvent(&FEditor, &event);
    return true;
}
