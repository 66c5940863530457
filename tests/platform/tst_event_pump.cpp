// Servicing events between rows must run everything a pass of the event loop
// would, even though it skips the pass when nothing is pending: posted events
// from this thread and others, timers as they fall due, ready descriptors, and
// all of these from inside an event handler too.

#include "platform/EventPump.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <unistd.h>

namespace {

class EventCounter : public QObject {
public:
    int seen = 0;
    std::function<void()> onEvent;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++seen;
        if (onEvent)
            onEvent();
        return true;
    }
};

// Services events until done() or a second has passed.
template <typename Done> bool serviceUntil(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 1000)
        platform::serviceEvents();
    return done();
}

} // namespace

class EventPumpTest : public QObject {
    Q_OBJECT
private slots:
    void postedEventsRun();
    void timersRunWhenDue();
    void readyDescriptorsRun();
    void servicingFromAnEventHandler();
};

void EventPumpTest::postedEventsRun()
{
    EventCounter receiver;
    platform::serviceEvents(); // nothing pending: returns, delivers nothing
    QCOMPARE(receiver.seen, 0);

    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    platform::serviceEvents();
    QCOMPARE(receiver.seen, 1);

    // An event posted by another thread wakes the loop; one pass delivers it.
    QThread *poster = QThread::create([&] { QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User)); });
    poster->start();
    poster->wait();
    delete poster;
    platform::serviceEvents();
    QCOMPARE(receiver.seen, 2);

    // Queued calls are posted events too.
    bool called = false;
    QMetaObject::invokeMethod(&receiver, [&] { called = true; }, Qt::QueuedConnection);
    platform::serviceEvents();
    QVERIFY(called);
}

void EventPumpTest::timersRunWhenDue()
{
    int zero = 0;
    QTimer::singleShot(0, [&] { ++zero; });
    platform::serviceEvents();
    QCOMPARE(zero, 1);

    int later = 0;
    QTimer::singleShot(40, Qt::PreciseTimer, [&] { ++later; });
    platform::serviceEvents();
    QCOMPARE(later, 0);
    QThread::msleep(60);
    platform::serviceEvents();
    QCOMPARE(later, 1);

    // A repeating timer keeps firing while a long operation services events.
    int ticks = 0;
    QTimer repeating;
    repeating.setInterval(5);
    QObject::connect(&repeating, &QTimer::timeout, [&] { ++ticks; });
    repeating.start();
    QVERIFY(serviceUntil([&] { return ticks >= 3; }));
}

void EventPumpTest::readyDescriptorsRun()
{
    int fds[2];
    QCOMPARE(::pipe(fds), 0);
    QSocketNotifier readable(fds[0], QSocketNotifier::Read);
    int activated = 0;
    QObject::connect(&readable, &QSocketNotifier::activated, [&] {
        char byte;
        QCOMPARE(::read(fds[0], &byte, 1), ssize_t(1));
        ++activated;
    });
    platform::serviceEvents();
    QCOMPARE(activated, 0);
    QCOMPARE(::write(fds[1], "x", 1), ssize_t(1));
    QVERIFY(serviceUntil([&] { return activated == 1; }));
    readable.setEnabled(false);
    ::close(fds[0]);
    ::close(fds[1]);
}

void EventPumpTest::servicingFromAnEventHandler()
{
    // The searches service events from inside the handler of a click.
    EventCounter outer;
    EventCounter inner;
    int timerFired = 0;
    outer.onEvent = [&] {
        QCoreApplication::postEvent(&inner, new QEvent(QEvent::User));
        QTimer::singleShot(0, [&] { ++timerFired; });
        QVERIFY(serviceUntil([&] { return inner.seen == 1 && timerFired == 1; }));
    };
    QCoreApplication::postEvent(&outer, new QEvent(QEvent::User));
    QVERIFY(serviceUntil([&] { return outer.seen == 1; }));
    QCOMPARE(inner.seen, 1);
    QCOMPARE(timerFired, 1);
}

QTEST_MAIN(EventPumpTest)
#include "tst_event_pump.moc"
