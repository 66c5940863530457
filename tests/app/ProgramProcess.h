#pragma once
// The built program run in a child process: whether it can run here, its
// environment, waiting on what it does and ending it.

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <signal.h>

namespace apptest {

inline const QString ProgramPath = QStringLiteral(VORIMEL_BIN_DIR "/vorimel");

// Why the program cannot be started from this build, empty when it can.
inline QString programProblem()
{
    if (!QFile::exists(ProgramPath) || !QFile::exists(QStringLiteral(VORIMEL_BIN_DIR "/pcs.mdb")))
        return QStringLiteral("the program and its sample pcs.mdb are not built");
    return QString();
}

// A run with its lock and socket in runtime, on the given Qt platform and X
// display (none: this test's own), without the leak check.
inline QProcessEnvironment programEnvironment(const QString &runtime, const QString &platform,
                                              const QByteArray &display = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    return environment;
}

template <class Condition> bool waitFor(Condition condition, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

inline void killHard(QProcess &process)
{
    // processId() is 0 once the process has ended, and kill(0) would hit this
    // test's whole process group.
    const qint64 pid = process.processId();
    if (process.state() == QProcess::NotRunning || pid <= 0)
        return;
    ::kill(pid_t(pid), SIGKILL);
    process.waitForFinished(10000);
}

} // namespace apptest
