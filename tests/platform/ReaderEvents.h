#pragma once
// What a screen reader would be told: the accessibility events Qt raises,
// recorded by an update handler for as long as a recorder lives. Qt raises
// them only while assistive technology is attached, which the recorder
// pretends.

#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QStringList>

class ReaderEvents {
public:
    struct Event {
        QAccessible::Event type;
        QPointer<QObject> object;
        QString name;            // of the interface it is about, child included
        QAccessible::Role role;
        QAccessible::State changed; // for a change of state
    };

    ReaderEvents();
    ~ReaderEvents();
    ReaderEvents(const ReaderEvents &) = delete;
    ReaderEvents &operator=(const ReaderEvents &) = delete;

    const QList<Event> &events() const { return events_; }
    void clear() { events_.clear(); }
    // The names of what took the focus, in order.
    QStringList focused() const;
    // Changes of state of this object (its items included).
    int stateChangesOf(const QObject *object) const;
    // What appeared as a notification, in order.
    QStringList notifications() const;

private:
    static void record(QAccessibleEvent *event);
    QList<Event> events_;
    QAccessible::UpdateHandler previous_;
};
