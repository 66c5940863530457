#include "platform/HeldStateChanges.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace platform {

HeldStateChanges::HeldStateChanges(Forward forward, std::chrono::milliseconds delay)
    : forward_(std::move(forward)), delay_(delay)
{
}

void HeldStateChanges::holdShowing(QWidget *widget, bool wasShown)
{
    // A widget deleted since matches no new one at its address: its entry's
    // pointer is null.
    if (std::any_of(held_.cbegin(), held_.cend(), [widget](const Held &h) { return h.widget == widget; }))
        return;
    held_.push_back(Held{widget, wasShown});
    scheduleFlush();
}

void HeldStateChanges::scheduleFlush()
{
    if (flushScheduled_)
        return;
    flushScheduled_ = true;
    QTimer::singleShot(delay_, &timerOwner_, [this] {
        flushScheduled_ = false;
        flush();
    });
}

bool HeldStateChanges::hold(const QAccessibleEvent &event)
{
    auto *widget = qobject_cast<QWidget *>(event.object());
    if (!widget || event.child() >= 0)
        return false;
    switch (event.type()) {
    case QAccessible::ObjectShow:
    case QAccessible::ObjectHide:
        // Before its first change, the widget was the opposite of what it became.
        holdShowing(widget, event.type() == QAccessible::ObjectHide);
        return true;
    case QAccessible::Focus:
        // Only amid a flicker: a focus on its own (a Tab, the window coming
        // up) goes at once, and in Qt's order with the focus on an item.
        if (!holdsAnything())
            return false;
        focus_ = widget;
        return true;
    default:
        return false;
    }
}

void HeldStateChanges::flush()
{
    // Sending may bring new events (and a nested flush): work on what is held now.
    std::vector<Held> held;
    held.swap(held_);
    const QPointer<QWidget> focus = std::exchange(focus_, nullptr);
    for (const Held &h : held) {
        QWidget *widget = h.widget;
        if (!widget)
            continue;
        const bool shown = widget->isVisible();
        if (shown != h.wasShown) {
            QAccessibleEvent showing(widget, shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
            forward_(showing);
        }
    }
    // A focus passed on meanwhile has been no one's place; one the window
    // lost with the keyboard going nowhere was the last place.
    if (focus && (focus == QApplication::focusWidget() || !QApplication::focusWidget())) {
        QAccessibleEvent focused(focus.data(), QAccessible::Focus);
        forward_(focused);
    }
}

} // namespace platform
