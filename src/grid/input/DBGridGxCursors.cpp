#include "grid/input/DBGridGxCursors.h"

#include "platform/Exceptions.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>

#include <map>

namespace {

constexpr int CursorSize = 32;

// A black arrow with a white outline pointing down, its tip at the hot spot.
QPixmap DownArrow()
{
    QPixmap pixmap(CursorSize, CursorSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath arrow;
    arrow.moveTo(13, 2);
    arrow.lineTo(18, 2);
    arrow.lineTo(18, 12);
    arrow.lineTo(23, 12);
    arrow.lineTo(15.5, 20);
    arrow.lineTo(8, 12);
    arrow.lineTo(13, 12);
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(arrow);
    return pixmap;
}

QCursor MakeCursor(const std::string& name)
{
    const QPixmap down = DownArrow();
    if (name == "DOWNCURGX")
        return QCursor(down, 15, 20);
    if (name == "RIGHTCURGX")
        return QCursor(down.transformed(QTransform().rotate(-90)), 20, 16);
    if (name == "LEFTCURGX")
        return QCursor(down.transformed(QTransform().rotate(90)), 11, 15);
    throw EOutOfResources("Cannot load cursor resource");
}

} // namespace

const QCursor& GridCursorGx(const std::string& name)
{
    static std::map<std::string, QCursor> cursors;
    auto found = cursors.find(name);
    if (found == cursors.end())
        found = cursors.emplace(name, MakeCursor(name)).first;
    return found->second;
}
