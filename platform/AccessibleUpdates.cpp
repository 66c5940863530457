#include "platform/AccessibleUpdates.h"

#include "platform/AccessibleHiding.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QWidget>

namespace platform {
namespace {

// Whether a reader can reach the widget through its container. An item
// view offers its items, not the widgets it is made of (viewport, headers,
// the boxes around its scroll bars); another scroll area offers neither its
// viewport nor those boxes; and controls that only hold data are left out
// on purpose (AccessibleHiding.h).
bool inReadersTree(const QWidget *widget)
{
    if (isHiddenFromAssistiveTechnology(widget))
        return false;
    const QWidget *container = widget->parentWidget();
    if (qobject_cast<const QAbstractItemView *>(container))
        return false;
    if (const auto *area = qobject_cast<const QAbstractScrollArea *>(container))
        return widget != area->viewport() && !widget->objectName().startsWith(QLatin1String("qt_scrollarea_"));
    return true;
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
