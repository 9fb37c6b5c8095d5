#include "app/NavButton.h"

#include "app/FormStyle.h"

#include <QMouseEvent>
#include <QPainter>

TNavButton::TNavButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
}

void TNavButton::SetGlyphStrip(const QPixmap& strip)
{
    const int width = strip.width() / 2;
    FEnabledGlyph = strip.copy(0, 0, width, strip.height());
    FDisabledGlyph = strip.copy(width, 0, width, strip.height());
    update();
}

void TNavButton::SetMirroredGlyph(bool value)
{
    FMirroredGlyph = value;
    update();
}

QSize TNavButton::sizeHint() const
{
    return QSize(FEnabledGlyph.width() + 8, FEnabledGlyph.height() + 8);
}

void TNavButton::CancelPress()
{
    FPressCancelled = true;
    setDown(false);
}

void TNavButton::mousePressEvent(QMouseEvent* event)
{
    FPressCancelled = false;
    QAbstractButton::mousePressEvent(event);
}

void TNavButton::mouseMoveEvent(QMouseEvent* event)
{
    if (FPressCancelled) {
        event->accept();
        return;
    }
    QAbstractButton::mouseMoveEvent(event);
}

void TNavButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (FPressCancelled) {
        FPressCancelled = false;
        setDown(false);
        event->accept();
        return;
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void TNavButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, ToQColor(clBtnFace));

    const bool sunken = isDown();
    const QColor outerTopLeft = ToQColor(sunken ? clBtnShadow : clBtnHighlight);
    const QColor outerBottomRight = ToQColor(sunken ? clBtnHighlight : cl3DDkShadow);
    const QColor innerBottomRight = ToQColor(sunken ? clBtnFace : clBtnShadow);
    const int left = r.left(), top = r.top(), right = r.right(), bottom = r.bottom();

    painter.setPen(outerTopLeft);
    painter.drawLine(left, top, right - 1, top);
    painter.drawLine(left, top, left, bottom - 1);
    painter.setPen(outerBottomRight);
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, top, right, bottom);
    painter.setPen(innerBottomRight);
    painter.drawLine(left + 1, bottom - 1, right - 1, bottom - 1);
    painter.drawLine(right - 1, top + 1, right - 1, bottom - 1);

    const QPixmap& glyph = isEnabled() ? FEnabledGlyph : FDisabledGlyph;
    if (glyph.isNull())
        return;
    QPoint origin((r.width() - glyph.width()) / 2, (r.height() - glyph.height()) / 2);
    if (sunken)
        origin += QPoint(1, 1);
    if (FMirroredGlyph && layoutDirection() == Qt::RightToLeft) {
        // Mirrored about the glyph's own centre line: it stays in its place.
        painter.translate(origin.x() + glyph.width(), origin.y());
        painter.scale(-1, 1);
        painter.drawPixmap(0, 0, glyph);
        return;
    }
    painter.drawPixmap(origin, glyph);
}
