#pragma once
// A control that is hidden and shown again within a moment has not changed
// for anyone: opening About over the search window hides and shows its
// controls again, and a screen reader spoke the search's count (a
// notification) each time it appeared. Showing and hiding are held for a
// moment and only what then differs from before is sent. A widget taking the
// keyboard focus while such changes are held is held with them, and only
// where the focus then is goes out, last: switching child windows passes it
// through the search window's buttons while they hide and show again, and
// each stop was a message and a reader's question back. Any other event sends
// what is held first, so a reader never hears of a state, a name or an item's
// focus before the showing or focus that came earlier.

#include <QAccessible>
#include <QPointer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <vector>

namespace platform {

class HeldStateChanges {
public:
    using Forward = std::function<void(QAccessibleEvent &)>;

    HeldStateChanges(Forward forward, std::chrono::milliseconds delay);

    // Holds a widget's showing or hiding, and its taking the focus while
    // something is held, and returns true; any other event is not taken
    // (false) and should be forwarded after flush(). Every showing and hiding
    // must come here for the net change to be right; forward decides what is
    // worth sending.
    bool hold(const QAccessibleEvent &event);
    // Sends, for each held widget that still exists, the net change, then the
    // focus if the widget that took it last still has it, or nothing has.
    void flush();
    bool holdsAnything() const { return !held_.empty() || focus_; }

private:
    struct Held {
        QPointer<QWidget> widget;
        bool wasShown = false;
    };
    void holdShowing(QWidget *widget, bool wasShown);
    void scheduleFlush();

    Forward forward_;
    std::chrono::milliseconds delay_;
    QObject timerOwner_; // a flush still to come dies with this object
    std::vector<Held> held_;
    QPointer<QWidget> focus_;
    bool flushScheduled_ = false;
};

} // namespace platform
