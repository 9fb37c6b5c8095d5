#include "editors/PopupListbox.h"

#include "editors/PopupListWindowGx.h"
#include "editors/SearchClockGx.h"
#include "ui/ExceptionReport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

TPopupListbox::TPopupListbox(QWidget* owner) : QListWidget(owner)
{
    FSizeGrip = MakePopupListWindowGx(*this);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Drawn as focused although the editor keeps the focus.
    QPalette colors = palette();
    colors.setColor(QPalette::Inactive, QPalette::Highlight, colors.color(QPalette::Active, QPalette::Highlight));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    colors.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colors);
}

void TPopupListbox::SetItems(const QStringList& items)
{
    clear();
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, this);
        item->setSizeHint(QSize(0, FItemHeight));
    }
    FSearchText.clear();
}

void TPopupListbox::SetItemHeight(int value)
{
    FItemHeight = std::max(1, value);
    for (int i = 0; i < count(); ++i)
        item(i)->setSizeHint(QSize(0, FItemHeight));
}

int TPopupListbox::HeightForRows(int rows) const { return rows * FItemHeight + 2 * frameWidth(); }

int TPopupListbox::WidestItemWidth() const
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(item(i)->text()));
    return widest;
}

int TPopupListbox::VisibleRows() const { return viewport()->height() / FItemHeight; }

void TPopupListbox::ForwardKey(QKeyEvent& event) { QApplication::sendEvent(this, &event); }

bool TPopupListbox::event(QEvent* event)
{
    return RunEventHandler([&] {
        return HandlePopupPlacementGx(*event, FSizeGrip) || QListWidget::event(event);
    });
}

void TPopupListbox::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Escape) {
        FSearchText.clear();
        return;
    }
    if (!text.isEmpty() && text.at(0).isPrint()) {
        SearchFor(text);
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TPopupListbox::SearchFor(const QString& typed)
{
    const int64_t now = SearchClockGx()();
    if (now - FLastKeyTime > SearchTimeoutMs)
        FSearchText.clear();
    FLastKeyTime = now;
    if (FSearchText.size() + typed.size() > MaxSearchLength)
        return;
    FSearchText += typed;
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().startsWith(FSearchText, Qt::CaseInsensitive)) {
            setCurrentRow(i);
            return;
        }
}

void TPopupListbox::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton) {
        const QModelIndex under = indexAt(event->position().toPoint());
        if (under.isValid() && under.row() != currentRow())
            setCurrentRow(under.row());
        return;
    }
    QListWidget::mouseMoveEvent(event);
}

void TPopupListbox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (OnMouseUp)
        OnMouseUp(*this, event->button(), event->position().toPoint());
}

void TPopupListbox::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    bool handled = false;
    const TWheelEvent& handler = delta < 0 ? OnMouseWheelDown : OnMouseWheelUp;
    if (handler)
        handler(*this, handled);
    if (!handled)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + (delta < 0 ? 1 : -1));
    event->accept();
}

void TPopupListbox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    if (FSizeGrip != nullptr)
        FSizeGrip->Reposition();
    FResizedByUser = true;
}
