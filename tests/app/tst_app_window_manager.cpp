// A second start under a real reparenting window manager (openbox on Xvfb):
// the window it looks for, minimised and under another, comes back shown, on
// top and focused. Requests that a bare X server obeys can be ignored by a
// manager, which stacks its frames and guards the focus.

#include "TestWindows.h"
#include "XvfbServer.h"

#include "app/modMainModule.h"
#include "platform/desktop/InstanceLock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

const QString Title = app::modMainModule::WindowTitleToActivate;

} // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void aSecondStartBringsTheMinimisedWindowBackOnTopWithTheFocus();

private:
    bool isManaged(apptest::WindowId window);
    bool waitUntilManaged(apptest::WindowId window);
    bool isOnTop(apptest::WindowId window);
    bool isMinimised(apptest::WindowId window);

    apptest::XvfbServer server_;
    QProcess manager_;
    QString problem_;
    std::unique_ptr<apptest::TestWindows> windows_;
    apptest::WindowId root_ = 0;
};

void WindowManagerTest::initTestCase()
{
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty()) {
        problem_ = QStringLiteral("openbox is not installed (scripts/setup installs it)");
        return;
    }
    if (!server_.start(&problem_))
        return;
    windows_ = std::make_unique<apptest::TestWindows>(server_.display());
    if (!windows_->isConnected()) {
        problem_ = QStringLiteral("cannot connect to ") + QString::fromLatin1(server_.display());
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server_.display()));
    manager_.setProcessEnvironment(environment);
    manager_.start(openbox, {QStringLiteral("--sm-disable")});
    // A manager announces itself with _NET_SUPPORTING_WM_CHECK on the root.
    const bool running = waitFor(
        [&] {
            windows_->sync();
            return !windows_->rootCardinals("_NET_SUPPORTING_WM_CHECK").isEmpty();
        },
        30000);
    if (!running)
        problem_ = QStringLiteral("openbox did not start: ") + QString::fromLocal8Bit(manager_.readAllStandardError());
}

void WindowManagerTest::cleanupTestCase()
{
    windows_.reset();
    if (manager_.state() != QProcess::NotRunning) {
        manager_.terminate();
        if (!manager_.waitForFinished(5000))
            manager_.kill();
        manager_.waitForFinished(5000);
    }
}

bool WindowManagerTest::isManaged(apptest::WindowId window)
{
    return windows_->rootCardinals("_NET_CLIENT_LIST").contains(window);
}

bool WindowManagerTest::waitUntilManaged(apptest::WindowId window)
{
    // A freshly started openbox now and then lets a first map request pass
    // unanswered; a program that maps its window again is managed.
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (waitFor([&] { return isManaged(window); }, 5000))
            return true;
        windows_->unmap(window);
        windows_->map(window);
    }
    return false;
}

bool WindowManagerTest::isOnTop(apptest::WindowId window)
{
    const QVector<std::uint32_t> stacking = windows_->rootCardinals("_NET_CLIENT_LIST_STACKING");
    return !stacking.isEmpty() && stacking.last() == window;
}

bool WindowManagerTest::isMinimised(apptest::WindowId window)
{
    constexpr std::uint32_t IconicState = 3;
    const QVector<std::uint32_t> state = windows_->cardinals(window, "WM_STATE");
    return !state.isEmpty() && state.first() == IconicState;
}

void WindowManagerTest::aSecondStartBringsTheMinimisedWindowBackOnTopWithTheFocus()
{
    if (!problem_.isEmpty())
        QSKIP(qPrintable(problem_));
    const QString program = QStringLiteral(VORIMEL_BIN_DIR "/vorimel");
    if (!QFile::exists(program))
        QSKIP("the program is not built");

    const auto wanted = windows_->create(Title, Title, true);
    QVERIFY2(waitUntilManaged(wanted), "openbox does not manage the window");
    const auto other = windows_->create(QStringLiteral("Other"), QStringLiteral("Other"), true);
    QVERIFY2(waitUntilManaged(other), "openbox does not manage the window");
    QVERIFY(waitFor([&] { return isOnTop(other); }, 10000));
    windows_->minimise(wanted);
    QVERIFY2(waitFor([&] { return isMinimised(wanted) && !windows_->isViewable(wanted); }, 10000),
             "the manager did not minimise the window");

    // This test holds the lock, as the running first instance would.
    QTemporaryDir runtime;
    platform::desktop::InstanceLock first(runtime.filePath(QStringLiteral("vorimel.lock")));
    QVERIFY(first.acquire());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server_.display()));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(program);
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    const bool shown = waitFor([&] { return !isMinimised(wanted) && windows_->isViewable(wanted); }, 5000);
    const bool onTop = waitFor([&] { return isOnTop(wanted); }, 5000);
    const bool focused = waitFor(
        [&] {
            const QVector<std::uint32_t> active = windows_->rootCardinals("_NET_ACTIVE_WINDOW");
            return !active.isEmpty() && active.first() == wanted && windows_->inputFocus() == wanted;
        },
        5000);
    QVERIFY2(shown, "the window is still minimised");
    QVERIFY2(onTop, "the window is not on top");
    QVERIFY2(focused, "the window has not got the focus");
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    WindowManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_window_manager.moc"
