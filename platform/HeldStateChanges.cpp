#include "platform/HeldStateChanges.h"

#include <QApplication>
#include <QTimer>

#include <utility>

namespace platform {
namespace {

// Qt reports setEnabled() as a change of the "disabled" state alone.
QAccessible::State enablingChange()
{
    QAccessible::State disabled;
    disabled.disabled = true;
    return disabled;
}

bool onlyEnablingChanged(const QAccessibleStateChangeEvent &event)
{
    return event.changedStates() == enablingChange();
}

} // namespace

HeldStateChanges::HeldStateChanges(Forward forward, std::chrono::milliseconds delay)
    : forward_(std::move(forward)), delay_(delay)
{
}

HeldStateChanges::Held &HeldStateChanges::entryFor(QWidget *widget)
{
    // A widget deleted and another made at its address since: a new entry.
    if (const auto found = index_.constFind(widget); found != index_.cend() && held_[*found].widget == widget)
        return held_[*found];
    index_.insert(widget, held_.size());
    held_.push_back(Held{widget});
    scheduleFlush();
    return held_.back();
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
    case QAccessible::StateChanged: {
        if (!onlyEnablingChanged(static_cast<const QAccessibleStateChangeEvent &>(event)))
            return false;
        Held &h = entryFor(widget);
        if (!h.enablingChanged) {
            h.enablingChanged = true;
            h.wasEnabled = !widget->isEnabled();
        }
        return true;
    }
    case QAccessible::ObjectShow:
    case QAccessible::ObjectHide: {
        Held &h = entryFor(widget);
        if (!h.showingChanged) {
            h.showingChanged = true;
            h.wasShown = event.type() == QAccessible::ObjectHide;
        }
        return true;
    }
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
    index_.clear();
    const QPointer<QWidget> focus = std::exchange(focus_, nullptr);
    for (const Held &h : held) {
        QWidget *widget = h.widget;
        if (!widget)
            continue;
        const bool shown = widget->isVisible();
        if (h.showingChanged && shown != h.wasShown) {
            QAccessibleEvent showing(widget, shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
            forward_(showing);
        }
        if (h.enablingChanged && widget->isEnabled() != h.wasEnabled) {
            QAccessibleStateChangeEvent enabling(widget, enablingChange());
            forward_(enabling);
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
