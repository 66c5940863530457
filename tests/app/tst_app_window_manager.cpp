// A second start under a real reparenting window manager (openbox on Xvfb):
// the running program's frame, minimised by the manager and under another
// window, comes back shown, on top and focused. Requests that a bare X server
// obeys can be ignored by a manager, which stacks its frames and guards the
// focus.

#include "ProgramProcess.h"
#include "TestWindows.h"
#include "XvfbServer.h"

#include "app/frmMainForm.h"
#include "platform/desktop/X11Windows.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using apptest::waitFor;

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
    std::unique_ptr<platform::desktop::X11Windows> display_;
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
    display_ = platform::desktop::X11Windows::connect(server_.display());
    if (!windows_->isConnected() || !display_) {
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
    display_.reset();
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
    if (!apptest::programProblem().isEmpty())
        QSKIP(qPrintable(apptest::programProblem()));
    const QString program = apptest::ProgramPath;

    QTemporaryDir runtime;
    const QProcessEnvironment environment =
        apptest::programEnvironment(runtime.path(), QStringLiteral("xcb"), server_.display());
    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(program);
    const auto running = qScopeGuard([&] { apptest::killHard(first); });
    platform::desktop::X11WindowId frame = 0;
    const bool shown = waitFor(
        [&] {
            frame = display_->findByTitle(app::frmMainForm::Caption);
            return frame != 0 && isManaged(frame) && windows_->isViewable(frame);
        },
        60000);
    QVERIFY2(shown, qPrintable(QStringLiteral("the program's frame was not shown: ")
                               + QString::fromLocal8Bit(first.readAllStandardError())));

    // Each way on its own: the second start finding the frame on the display
    // (the socket's name hidden from it), then the running instance asked
    // through its socket by a start that reaches no X display.
    const QString socketPath = runtime.filePath(QStringLiteral("vorimel.socket"));
    const QString hiddenPath = runtime.filePath(QStringLiteral("hidden.socket"));
    QVERIFY(waitFor([&] { return QFile::exists(socketPath); }, 10000));
    for (const QString &way : {QStringLiteral("display"), QStringLiteral("socket")}) {
        const auto other = windows_->create(QStringLiteral("Other"), QStringLiteral("Other"), true);
        QVERIFY2(waitUntilManaged(other), "openbox does not manage the covering window");
        QVERIFY(waitFor([&] { return isOnTop(other); }, 10000));
        windows_->minimise(frame);
        QVERIFY2(waitFor([&] { return isMinimised(frame) && !windows_->isViewable(frame); }, 10000),
                 "the manager did not minimise the frame");

        QProcessEnvironment secondEnvironment = environment;
        if (way == QLatin1String("display"))
            QVERIFY(QFile::rename(socketPath, hiddenPath));
        else
            secondEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess second;
        second.setProcessEnvironment(secondEnvironment);
        second.start(program);
        QVERIFY(second.waitForFinished(60000));
        if (way == QLatin1String("display"))
            QVERIFY(QFile::rename(hiddenPath, socketPath));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());

        const bool restored = waitFor([&] { return !isMinimised(frame) && windows_->isViewable(frame); }, 5000);
        const bool onTop = waitFor([&] { return isOnTop(frame); }, 5000);
        const bool focused = waitFor(
            [&] {
                const QVector<std::uint32_t> active = windows_->rootCardinals("_NET_ACTIVE_WINDOW");
                return !active.isEmpty() && active.first() == frame && windows_->inputFocus() == frame;
            },
            5000);
        QVERIFY2(restored, qPrintable(way + QStringLiteral(": the frame is still minimised")));
        QVERIFY2(onTop, qPrintable(way + QStringLiteral(": the frame is not on top")));
        QVERIFY2(focused, qPrintable(way + QStringLiteral(": the frame has not got the focus")));
    }
    QCOMPARE(first.state(), QProcess::Running);
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    WindowManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_window_manager.moc"
