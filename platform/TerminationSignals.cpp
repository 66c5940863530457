#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kHandled[] = {SIGTERM, SIGINT, SIGHUP};

// Written by the handler, so a plain int the handler can read without a lock.
volatile std::sig_atomic_t writeEnd = -1;

extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full pipe means the loop has not caught up; it ends the program anyway.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &number, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeEnd = pipe_[1];
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kHandled)
        ::sigaction(signalNumber, &action, nullptr);
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::drain);
}

TerminationSignals::~TerminationSignals()
{
    for (const int signalNumber : kHandled)
        std::signal(signalNumber, SIG_DFL);
    writeEnd = -1;
    for (const int fd : pipe_)
        if (fd >= 0)
            ::close(fd);
}

void TerminationSignals::drain()
{
    unsigned char numbers[64];
    ssize_t n;
    while ((n = ::read(pipe_[0], numbers, sizeof numbers)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            emit received(numbers[i]);
}

} // namespace platform
