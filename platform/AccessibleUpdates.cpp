#include "platform/AccessibleUpdates.h"

#include "platform/AccessibleHiding.h"
#include "platform/HeldStateChanges.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QWidget>

namespace platform {
namespace {

// Whether a reader can reach the widget through its containers. An item
// view offers its items, not the widgets it is made of (viewport, headers,
// its scroll bars and the boxes around them), however deep; another scroll
// area offers neither its viewport nor those boxes; and controls that only
// hold data are left out on purpose (AccessibleHiding.h).
bool inReadersTree(const QWidget *widget)
{
    if (isHiddenFromAssistiveTechnology(widget))
        return false;
    const QWidget *container = widget->parentWidget();
    if (const auto *area = qobject_cast<const QAbstractScrollArea *>(container);
        area && !qobject_cast<const QAbstractItemView *>(area)
        && (widget == area->viewport() || widget->objectName().startsWith(QLatin1String("qt_scrollarea_"))))
        return false;
    for (; container && !container->isWindow(); container = container->parentWidget()) {
        if (qobject_cast<const QAbstractItemView *>(container))
            return false;
    }
    return true;
}

// A list tells of its new current item as of the focus even when the
// keyboard is elsewhere, and a reader follows it there. That is news while
// the keyboard is in the list or beside it in the same control (a text box
// narrowing the list as the user types), not when a list elsewhere changes.
bool hasTheKeyboardNearby(const QWidget *view)
{
    const QWidget *keyboard = QApplication::focusWidget();
    return keyboard && (keyboard == view || keyboard->parentWidget() == view->parentWidget());
}

// Qt tells of every control a panel hides with it: the advanced search's
// panel closing after its search was some fifty messages to a reader. The
// panel's own hiding says it all, once it reaches the reader.
bool hiddenWithItsContainer(const QWidget *widget)
{
    const QWidget *container = widget->parentWidget();
    return container && !widget->isWindow() && !container->isVisible() && inReadersTree(container);
}

void forwardShownOnly(QAccessibleEvent *event);

AccessibleEventSink sink = nullptr;

void toBridge(QAccessibleEvent &event)
{
    if (sink) {
        sink(event);
        return;
    }
    // Without a handler Qt hands the event to the platform's bridge.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(&event);
    QAccessible::installUpdateHandler(forwardShownOnly);
}

// Held changes are weighed when they go out: by then a widget may be hidden.
void toBridgeIfItReaches(QAccessibleEvent &event)
{
    if (reachesAssistiveTechnology(event))
        toBridge(event);
}

// Long enough to cover a search or a reading, too short for anyone to miss.
constexpr std::chrono::milliseconds kHoldFor{50};

HeldStateChanges &heldStateChanges()
{
    static HeldStateChanges held(toBridgeIfItReaches, kHoldFor);
    return held;
}

void forwardShownOnly(QAccessibleEvent *event)
{
    HeldStateChanges &held = heldStateChanges();
    if (held.hold(*event))
        return;
    // An event no reader hears must not send what is held: that would tell
    // of a search's flicker halfway through.
    if (!reachesAssistiveTechnology(*event))
        return;
    held.flush();
    toBridge(*event);
}

} // namespace

bool reachesAssistiveTechnology(const QAccessibleEvent &event)
{
    const auto *widget = qobject_cast<const QWidget *>(event.object());
    if (!widget)
        return true;
    switch (event.type()) {
    case QAccessible::Focus:
        return !qobject_cast<const QAbstractItemView *>(widget) || hasTheKeyboardNearby(widget);
    case QAccessible::ObjectShow:
        return inReadersTree(widget);
    case QAccessible::ObjectHide:
        return inReadersTree(widget) && !hiddenWithItsContainer(widget);
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

void sendAccessibilityUpdatesOfShownWidgetsOnly(AccessibleEventSink eventSink)
{
    static const bool installed = [eventSink] {
        sink = eventSink;
        QAccessible::installUpdateHandler(forwardShownOnly);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace platform
