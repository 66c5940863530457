#pragma once
// SIGTERM, SIGINT and SIGHUP (a shutdown, Ctrl+C, a closed terminal) turned
// into an ordinary event of the user-interface thread, so that the program can
// end the way its own Exit does instead of dying where it stands. The handler
// only writes the signal's number into a pipe; the rest happens in the event
// loop.

#include <QObject>

class QSocketNotifier;

namespace platform {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; the destructor restores the default actions.
    // One object at a time in a process.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

signals:
    // Raised from the event loop, once per signal received.
    void received(int signalNumber);

private:
    void drain();

    int pipe_[2] = {-1, -1};
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace platform
