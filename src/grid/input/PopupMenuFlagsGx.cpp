#include "grid/input/PopupMenuFlagsGx.h"

#include <QMenu>
#include <QPointer>
#include <QVariant>

namespace {
constexpr const char* AutoPopupProperty = "tmAutoPopup";
constexpr const char* PopupComponentProperty = "tmPopupComponent";
}  // namespace

bool MenuAutoPopup(const QMenu& menu)
{
    const QVariant value = menu.property(AutoPopupProperty);
    return !value.isValid() || value.toBool();
}

void SetMenuAutoPopup(QMenu& menu, bool value) { menu.setProperty(AutoPopupProperty, value); }

QWidget* MenuPopupComponent(const QMenu& menu)
{
    // Kept as a guarded pointer: a control freed after popping the menu up
    // reads as none.
    return menu.property(PopupComponentProperty).value<QPointer<QWidget>>().data();
}

void SetMenuPopupComponent(QMenu& menu, QWidget* component)
{
    menu.setProperty(PopupComponentProperty, QVariant::fromValue(QPointer<QWidget>(component)));
}
