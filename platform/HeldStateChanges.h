#pragma once
// A control that is disabled and enabled again, or hidden and shown again,
// within a moment has not changed for anyone: the window is disabled for
// every search and the list for every reading, a few milliseconds each, and
// each flip was two or four messages to a listening screen reader (about
// half the cost of a reading). Such changes are held for a moment and only
// what then differs from before is sent. A widget taking the keyboard focus
// while such changes are held is held with them, and only where the focus
// then is goes out, last: switching child windows passes it through the
// search window's buttons while their window hides and shows again, and each
// stop was a message and a reader's question back. Any other event sends what
// is held first, so a reader never hears of a name or an item's focus before
// the state or focus that came earlier.

#include <QAccessible>
#include <QHash>
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

    // Holds a widget's enabling, disabling, showing or hiding, and its taking
    // the focus while something is held, and returns true; any other event is
    // not taken (false) and should be forwarded after flush(). Every such
    // change must come here, shown or not, for the net change to be right;
    // forward decides what is worth sending.
    bool hold(const QAccessibleEvent &event);
    // Sends, for each held widget that still exists, the net change, then the
    // focus if the widget that took it last still has it, or nothing has.
    void flush();
    bool holdsAnything() const { return !held_.empty() || focus_; }

private:
    struct Held {
        QPointer<QWidget> widget;
        bool enablingChanged = false;
        bool wasEnabled = false;
        bool showingChanged = false;
        bool wasShown = false;
    };
    Held &entryFor(QWidget *widget);
    void scheduleFlush();

    Forward forward_;
    std::chrono::milliseconds delay_;
    QObject timerOwner_; // a flush still to come dies with this object
    std::vector<Held> held_;
    QPointer<QWidget> focus_;
    QHash<const QWidget *, std::size_t> index_;
    bool flushScheduled_ = false;
};

} // namespace platform
