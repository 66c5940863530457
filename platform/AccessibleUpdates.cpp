#include "platform/AccessibleUpdates.h"

#include <QAccessible>
#include <QWidget>

namespace platform {
namespace {

// Whether the widget's container lists it among its children as a reader
// sees them: the parts a scroll area is made of (its viewport, the boxes
// around its scroll bars) are not, and no reader can reach them.
bool inReadersTree(const QWidget *widget)
{
    QWidget *container = widget->parentWidget();
    if (!container)
        return true;
    QAccessibleInterface *containerInterface = QAccessible::queryAccessibleInterface(container);
    QAccessibleInterface *own = QAccessible::queryAccessibleInterface(const_cast<QWidget *>(widget));
    return !containerInterface || !own || containerInterface->indexOfChild(own) >= 0;
}

void forwardShownOnly(QAccessibleEvent *event)
{
    if (!reachesAssistiveTechnology(*event))
        return;
    // Without a handler Qt hands the event to the platform's bridge.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(forwardShownOnly);
}

} // namespace

bool reachesAssistiveTechnology(const QAccessibleEvent &event)
{
    const auto *widget = qobject_cast<const QWidget *>(event.object());
    if (!widget)
        return true;
    switch (event.type()) {
    case QAccessible::ObjectShow:
    case QAccessible::ObjectHide:
        return inReadersTree(widget);
    case QAccessible::StateChanged:
    case QAccessible::NameChanged:
    case QAccessible::DescriptionChanged:
    case QAccessible::ValueChanged:
    case QAccessible::LocationChanged:
    case QAccessible::TableModelChanged:
        return widget->isVisible() && inReadersTree(widget);
    default:
        return true;
    }
}

void sendAccessibilityUpdatesOfShownWidgetsOnly()
{
    static const bool installed = [] {
        QAccessible::installUpdateHandler(forwardShownOnly);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace platform
