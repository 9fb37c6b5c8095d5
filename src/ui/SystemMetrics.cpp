#include "ui/SystemMetrics.h"

#include <QApplication>
#include <QStyle>

namespace {
// Windows' classic value, for code that runs without an application.
constexpr int FallbackScrollBarWidth = 16;
constexpr int CheckBoxSide = 13;
} // namespace

int VerticalScrollBarWidth()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return FallbackScrollBarWidth;
    const int extent = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return extent > 0 ? extent : FallbackScrollBarWidth;
}

QSize SystemCheckSize() { return QSize(CheckBoxSide, CheckBoxSide); }
