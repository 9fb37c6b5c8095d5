#include "ui/ToolTipsWindow.h"

#include "ui/QtColor.h"
#include "ui/TextDraw.h"

#include <QImage>
#include <QPainter>

TToolTipsWindow::TToolTipsWindow(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                         Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

unsigned TToolTipsWindow::TextFormat() const
{
    unsigned format = DT_NOPREFIX | FLineAlignment;
    format |= FMaxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE;
    if (layoutDirection() == Qt::RightToLeft)
        format |= DT_RTLREADING;
    return format;
}

QSize TToolTipsWindow::HintSize(const QString& text, int maxWidth) const
{
    // Measured by the same formatter that draws the text, on a scratch
    // surface that only lends the painter its font.
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter measurer(&scratch);
    measurer.setFont(FHintFont);
    QRect bounds(0, 0, std::max(maxWidth, 1), 0);
    unsigned format = DT_NOPREFIX | DT_CALCRECT | (maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawFormattedText(measurer, text, bounds, format);
    return QSize(bounds.width() + 2 * TextOffset, bounds.height() + 2 * TextOffset);
}

void TToolTipsWindow::ActivateHint(const QPoint& topLeft, const QString& text, int maxWidth)
{
    if (QWidget* owner = parentWidget()) {
        setPalette(owner->palette());
        setLayoutDirection(owner->layoutDirection());
    }
    FText = text;
    FMaxWidth = maxWidth;
    setGeometry(QRect(topLeft, HintSize(text, maxWidth)));
    update();
    show();
}

void TToolTipsWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect();
    painter.fillRect(frame, ToQColor(clInfoBk));
    painter.setPen(ToQColor(clWindowFrame));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    painter.setFont(FHintFont);
    painter.setPen(palette().color(QPalette::WindowText));
    QRect area = frame.adjusted(TextOffset, TextOffset, -TextOffset, -TextOffset);
    DrawFormattedText(painter, FText, area, TextFormat() | DT_NOCLIP);
}
