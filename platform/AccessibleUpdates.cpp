#include "platform/AccessibleUpdates.h"

#include <QAccessible>
#include <QWidget>

namespace platform {
namespace {

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
    switch (event.type()) {
    case QAccessible::StateChanged:
    case QAccessible::NameChanged:
    case QAccessible::DescriptionChanged:
    case QAccessible::ValueChanged:
    case QAccessible::LocationChanged:
    case QAccessible::TableModelChanged:
        break;
    default:
        return true;
    }
    const auto *widget = qobject_cast<const QWidget *>(event.object());
    return !widget || widget->isVisible();
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
