// One instance at a time: the lock that says whether another instance runs,
// the search for the window a second instance brings forward on a real X
// server, and the two paths of the program itself, as separate processes.

#include "ProgramProcess.h"
#include "TestWindows.h"
#include "XvfbServer.h"

#include "app/modMainModule.h"
#include "platform/desktop/InstanceChannel.h"
#include "platform/desktop/InstanceLock.h"
#include "platform/desktop/X11Windows.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using platform::desktop::InstanceLock;
using platform::desktop::X11Windows;
using apptest::killHard;
using apptest::programProblem;
using apptest::waitFor;

namespace {

const char HoldLockFlag[] = "--hold-lock";

// The child side of the lock tests: holds the lock under the program's own
// application name until its standard input closes or it is killed.
int holdLock(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Vorimel"));
    InstanceLock lock(QString::fromLocal8Bit(argv[2]));
    std::printf(lock.acquire() ? "held\n" : "refused\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}

bool startLockHolder(QProcess &holder, const QString &path)
{
    holder.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(HoldLockFlag), path});
    if (!holder.waitForStarted(10000))
        return false;
    QByteArray said;
    while (!said.contains('\n') && holder.waitForReadyRead(20000))
        said += holder.readAllStandardOutput();
    return said.trimmed() == "held";
}

const QString Title = app::modMainModule::WindowTitleToActivate;

} // namespace

class InstanceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void aSecondLockFailsWhileTheFirstIsHeld();
    void aLockHeldByAnotherLiveProcessIsNotTakenEvenWhenOld();
    void aLockLeftByAKilledProcessIsTakenOver();
    void aLockThatNamesNoLiveProcessHereIsTakenOver();
    void withoutARuntimeDirectoryTheLockLivesInAPrivateFolder();

    void findsOnlyTheExactTitle();
    void netWmNameComesBeforeWmName();
    void theWindowManagersClientListIsTheListSearched();
    void restoreActivateRaiseBringTheWindowForward();
    void anUnreachableDisplayFindsNothing();
    void theLaunchersStartupIsEnded();

    void secondProgramBringsTheWindowForwardAndEndsSilently();
    void theFrameOffersNoMaximiseOrCloseAndIgnoresTheWindowManagersClose();
    void withoutAnyDesktopTheProgramSaysSoInsteadOfAborting();

private:
    bool needDisplay();

    apptest::XvfbServer server_;
    QString serverProblem_;
    std::unique_ptr<apptest::TestWindows> windows_;
    std::unique_ptr<X11Windows> display_;
};

void InstanceTest::initTestCase()
{
    if (!server_.start(&serverProblem_))
        return;
    windows_ = std::make_unique<apptest::TestWindows>(server_.display());
    display_ = X11Windows::connect(server_.display());
    if (!windows_->isConnected() || !display_)
        serverProblem_ = QStringLiteral("cannot connect to the Xvfb display ") + QString::fromLatin1(server_.display());
}

bool InstanceTest::needDisplay()
{
    return serverProblem_.isEmpty();
}

void InstanceTest::cleanup()
{
    if (windows_ && windows_->isConnected())
        windows_->destroyAll();
}

void InstanceTest::aSecondLockFailsWhileTheFirstIsHeld()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vorimel.lock"));
    auto first = std::make_unique<InstanceLock>(path);
    QVERIFY(first->acquire());
    QVERIFY(first->isHeld());
    QVERIFY(first->acquire()); // asking again keeps it

    InstanceLock second(path);
    QVERIFY(!second.acquire());
    QVERIFY(!second.isHeld());

    first.reset();
    QVERIFY(!QFile::exists(path));
    QVERIFY(second.acquire());

    // A lock that cannot be written says nothing about other instances: the
    // program runs, without a lock.
    InstanceLock nowhere(dir.filePath(QStringLiteral("missing/folder/vorimel.lock")));
    QVERIFY(nowhere.acquire());
    QVERIFY(!nowhere.isHeld());
}

void InstanceTest::aLockHeldByAnotherLiveProcessIsNotTakenEvenWhenOld()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vorimel.lock"));
    QProcess holder;
    QVERIFY(startLockHolder(holder, path));
    InstanceLock mine(path);
    QVERIFY(!mine.acquire());

    // A program that has run for an hour still counts as running.
    QFile lockFile(path);
    QVERIFY(lockFile.open(QIODevice::ReadWrite));
    QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    lockFile.close();
    QVERIFY(!mine.acquire());

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(10000));
    QVERIFY(mine.acquire());
}

void InstanceTest::aLockLeftByAKilledProcessIsTakenOver()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vorimel.lock"));
    QProcess holder;
    QVERIFY(startLockHolder(holder, path));
    killHard(holder);
    QVERIFY(QFile::exists(path)); // the crash left it behind

    InstanceLock mine(path);
    QVERIFY(mine.acquire());
    QFile lockFile(path);
    QVERIFY(lockFile.open(QIODevice::ReadOnly));
    QCOMPARE(lockFile.readLine().trimmed().toLongLong(), QCoreApplication::applicationPid());
}

void InstanceTest::aLockThatNamesNoLiveProcessHereIsTakenOver()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vorimel.lock"));
    const QByteArray livePid = QByteArray::number(QCoreApplication::applicationPid());
    const QByteArray leftovers[] = {
        "",                                              // the disk filled up while it was written
        "not a lock\n\x01\xff",                         // garbled
        livePid + "\nvorimel\nsome-other-host.example\n", // a live pid, but of another machine
    };
    for (const QByteArray &content : leftovers) {
        QFile planted(path);
        QVERIFY(planted.open(QIODevice::WriteOnly | QIODevice::Truncate));
        planted.write(content);
        planted.close();
        InstanceLock mine(path);
        QVERIFY2(mine.acquire(), content.constData());
        QVERIFY(mine.isHeld());
    }
}

void InstanceTest::withoutARuntimeDirectoryTheLockLivesInAPrivateFolder()
{
    QTemporaryDir temp;
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
        qputenv("TMPDIR", savedTemp);
    });
    const QString folder = temp.filePath(QStringLiteral("vorimel-%1").arg(::getuid()));

    QCOMPARE(InstanceLock::defaultPath(), folder + QStringLiteral("/vorimel.lock"));
    QCOMPARE(QFileInfo(folder).permissions() & 0x0077, QFileDevice::Permissions());
    QCOMPARE(QFileInfo(folder).ownerId(), ::getuid());
    QCOMPARE(InstanceLock::defaultPath(), folder + QStringLiteral("/vorimel.lock")); // found again

    // What someone else may have put under that name first is not used: the
    // program then runs without a lock rather than never.
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
    QCOMPARE(InstanceLock::defaultPath(), QString());
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(QFile::link(temp.path(), folder));
    QCOMPARE(InstanceLock::defaultPath(), QString());
    QVERIFY(QFile::remove(folder));
    if (::getuid() == 0) {
        QVERIFY(QDir().mkdir(folder, QFileDevice::Permissions(0x7700)));
        QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        QCOMPARE(InstanceLock::defaultPath(), QString());
    }
    InstanceLock nowhere{QString()};
    QVERIFY(nowhere.acquire());
    QVERIFY(!nowhere.isHeld());
}

void InstanceTest::findsOnlyTheExactTitle()
{
    if (!needDisplay())
        QSKIP(qPrintable(serverProblem_));
    windows_->create(Title + QStringLiteral(" 2"), std::nullopt, true);
    windows_->create(Title.toLower(), std::nullopt, true);
    windows_->create(QStringLiteral("Calvorin Framework"), std::nullopt, true);
    QCOMPARE(display_->findByTitle(Title), platform::desktop::X11WindowId(0));

    // A withdrawn window, as Qt's client leader bears the program's title
    // too, is no frame to bring forward; a minimised one is.
    const auto wanted = windows_->create(Title, std::nullopt, false);
    windows_->create(QStringLiteral(" ") + Title, std::nullopt, true);
    QCOMPARE(display_->findByTitle(Title), platform::desktop::X11WindowId(0));
    windows_->markMinimised(wanted);
    QCOMPARE(display_->findByTitle(Title), wanted);
    QCOMPARE(display_->title(wanted), Title);
    QVERIFY(qint32(wanted) > 0); // as the start-up's signed handle
}

void InstanceTest::netWmNameComesBeforeWmName()
{
    if (!needDisplay())
        QSKIP(qPrintable(serverProblem_));
    windows_->create(QStringLiteral("Something else"), Title, true);
    QCOMPARE(display_->findByTitle(Title), platform::desktop::X11WindowId(0));

    const auto oldStyle = windows_->create(std::nullopt, Title, true);
    QCOMPARE(display_->findByTitle(Title), oldStyle);

    // A _NET_WM_NAME that is not UTF8_STRING (as older toolkits write it)
    // is passed over for WM_NAME, not read as an empty title.
    const auto legacy = windows_->create(std::nullopt, Title, true);
    windows_->setText(legacy, "_NET_WM_NAME", "COMPOUND_TEXT", Title.toLatin1());
    windows_->destroy(oldStyle);
    QCOMPARE(display_->title(legacy), Title);
    QCOMPARE(display_->findByTitle(Title), legacy);

    const auto untitled = windows_->create(std::nullopt, std::nullopt, true);
    QCOMPARE(display_->title(untitled), QString());
    QCOMPARE(display_->title(0x7FFFFFF), QString()); // no such window
}

void InstanceTest::theWindowManagersClientListIsTheListSearched()
{
    if (!needDisplay())
        QSKIP(qPrintable(serverProblem_));
    const auto other = windows_->create(QStringLiteral("Other"), std::nullopt, true);
    const auto wanted = windows_->create(Title, std::nullopt, true);

    windows_->setClientList({other});
    QCOMPARE(display_->topLevelWindows(), QVector<platform::desktop::X11WindowId>{other});
    QCOMPARE(display_->findByTitle(Title), platform::desktop::X11WindowId(0));

    windows_->setClientList({other, wanted});
    QCOMPARE(display_->findByTitle(Title), wanted);

    windows_->removeClientList();
    QVERIFY(display_->topLevelWindows().contains(wanted));
    QCOMPARE(display_->findByTitle(Title), wanted);
}

void InstanceTest::restoreActivateRaiseBringTheWindowForward()
{
    if (!needDisplay())
        QSKIP(qPrintable(serverProblem_));
    const auto wanted = windows_->create(Title, std::nullopt, false);
    windows_->markMinimised(wanted);
    const auto above = windows_->create(QStringLiteral("Other"), std::nullopt, true);
    QVERIFY(!windows_->isViewable(wanted));
    windows_->watchRootMessages();

    const auto found = display_->findByTitle(Title);
    QCOMPARE(found, wanted);
    display_->restore(found);
    display_->activate(found);
    display_->raise(found);
    display_->sync();

    QVERIFY(windows_->isViewable(wanted));
    const QVector<apptest::WindowId> stack = windows_->mappedStack();
    QVERIFY(stack.contains(above));
    QCOMPARE(stack.last(), wanted);

    // What a window manager acts on: out of the maximised and hidden states,
    // focus with a real time (0 is refused where new windows may not steal
    // the focus), then its frame to the top.
    const QVector<apptest::ClientMessage> messages = windows_->takeRootMessages();
    QCOMPARE(messages.size(), 4);
    for (const apptest::ClientMessage &message : messages)
        QCOMPARE(message.window, wanted);
    QCOMPARE(messages[0].type, QByteArray("_NET_WM_STATE"));
    QCOMPARE(messages[0].data[0], 0u); // remove
    QCOMPARE(windows_->atomName(messages[0].data[1]), QByteArray("_NET_WM_STATE_MAXIMIZED_VERT"));
    QCOMPARE(windows_->atomName(messages[0].data[2]), QByteArray("_NET_WM_STATE_MAXIMIZED_HORZ"));
    QCOMPARE(messages[0].data[3], 2u); // on the user's behalf
    QCOMPARE(messages[1].type, QByteArray("_NET_WM_STATE"));
    QCOMPARE(windows_->atomName(messages[1].data[1]), QByteArray("_NET_WM_STATE_HIDDEN"));
    QCOMPARE(messages[1].data[3], 2u);
    QCOMPARE(messages[2].type, QByteArray("_NET_ACTIVE_WINDOW"));
    QCOMPARE(messages[2].data[0], 2u); // on the user's behalf, like a pager
    QVERIFY(messages[2].data[1] != 0u);
    QCOMPARE(messages[3].type, QByteArray("_NET_RESTACK_WINDOW"));
    QCOMPARE(messages[3].data[0], 2u);
    QCOMPARE(messages[3].data[2], 0u); // Above
}

void InstanceTest::theLaunchersStartupIsEnded()
{
    if (!needDisplay())
        QSKIP(qPrintable(serverProblem_));
    windows_->watchRootMessages();
    // Long enough for three pieces, with what needs quoting.
    display_->endStartup("openbox/vorimel-42 \"x\"\\y_TIME12345");
    display_->sync();
    QByteArray said;
    QVector<QByteArray> types;
    for (const apptest::ClientMessage &message : windows_->takeRootMessages()) {
        types.append(message.type);
        said += QByteArray(reinterpret_cast<const char *>(message.data), 20);
    }
    QCOMPARE(types.value(0), QByteArray("_NET_STARTUP_INFO_BEGIN"));
    QCOMPARE(types.size(), 3);
    QCOMPARE(types.count("_NET_STARTUP_INFO"), 2);
    QCOMPARE(said.left(said.indexOf('\0')), QByteArray("remove: ID=\"openbox/vorimel-42 \\\"x\\\"\\\\y_TIME12345\""));
}

void InstanceTest::anUnreachableDisplayFindsNothing()
{
    QVERIFY(!X11Windows::connect(":64999"));
}

void InstanceTest::secondProgramBringsTheWindowForwardAndEndsSilently()
{
    if (!needDisplay())
        QSKIP(qPrintable(serverProblem_));
    if (!programProblem().isEmpty())
        QSKIP(qPrintable(programProblem()));
    const QString program = apptest::ProgramPath;

    QTemporaryDir runtime;
    const QString lockPath = runtime.filePath(QStringLiteral("vorimel.lock"));
    const QProcessEnvironment environment = apptest::programEnvironment(runtime.path(), QStringLiteral("offscreen"));

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(program);
    QVERIFY2(waitFor([&] { return QFile::exists(lockPath); }, 60000), "the first instance took no lock");

    const auto wanted = windows_->create(Title, std::nullopt, false);
    windows_->markMinimised(wanted);
    const auto other = windows_->create(QStringLiteral("Other"), std::nullopt, true);
    const QVector<apptest::WindowId> before = windows_->mappedStack();

    QProcess second;
    second.setProcessEnvironment(apptest::programEnvironment(runtime.path(), QStringLiteral("xcb"), server_.display()));
    second.start(program);
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardOutput(), QByteArray());

    QVERIFY(windows_->isViewable(wanted));
    const QVector<apptest::WindowId> after = windows_->mappedStack();
    QCOMPARE(after.last(), wanted);
    QCOMPARE(after.size(), before.size() + 1); // nothing of its own was shown
    QVERIFY(after.contains(other));
    QCOMPARE(first.state(), QProcess::Running);

    // The first instance crashes; the next start takes its lock and its
    // socket over, and answers there.
    const QString socketPath = platform::desktop::InstanceChannel::pathBeside(lockPath);
    QVERIFY2(waitFor([&] { return QFile::exists(socketPath); }, 60000), "the first instance does not listen");
    killHard(first);
    QVERIFY(QFile::exists(lockPath));
    QVERIFY(!platform::desktop::InstanceChannel::send(socketPath, {}));
    QProcess third;
    third.setProcessEnvironment(environment);
    third.start(program);
    QVERIFY(third.waitForStarted(10000));
    const bool tookOver = waitFor(
        [&] {
            QFile lock(lockPath);
            return lock.open(QIODevice::ReadOnly) && lock.readLine().trimmed().toLongLong() == third.processId();
        },
        60000);
    const bool answers = waitFor([&] { return platform::desktop::InstanceChannel::send(socketPath, {}); }, 60000);
    const bool stillRunning = third.state() == QProcess::Running;
    killHard(third);
    QVERIFY2(tookOver, "the next instance did not take the stale lock");
    QVERIFY2(answers, "the next instance did not take the stale socket over");
    QVERIFY(stillRunning);
}

void InstanceTest::theFrameOffersNoMaximiseOrCloseAndIgnoresTheWindowManagersClose()
{
    if (!needDisplay())
        QSKIP(qPrintable(serverProblem_));
    if (!programProblem().isEmpty())
        QSKIP(qPrintable(programProblem()));
    QTemporaryDir runtime;
    QProcess program;
    program.setProcessEnvironment(apptest::programEnvironment(runtime.path(), QStringLiteral("xcb"), server_.display()));
    program.start(apptest::ProgramPath);
    platform::desktop::X11WindowId frame = 0;
    const bool shown = waitFor(
        [&] {
            frame = display_->findByTitle(QStringLiteral("Vorimel"));
            return frame != 0 && windows_->isViewable(frame);
        },
        60000);
    if (!shown) {
        killHard(program);
        QFAIL("the program showed no window titled Vorimel");
    }

    // Motif hints: minimise only among the title bar's functions.
    const QVector<std::uint32_t> hints = windows_->cardinals(frame, "_MOTIF_WM_HINTS");
    enum { Functions = 1, MinimiseFunction = 8, MaximiseFunction = 16, CloseFunction = 32 };
    const bool hintsRight = hints.size() >= 2 && (hints[0] & Functions) && (hints[1] & MinimiseFunction)
                            && !(hints[1] & MaximiseFunction) && !(hints[1] & CloseFunction);

    windows_->requestClose(frame);
    QTest::qWait(1500);
    const bool stillRunning = program.state() == QProcess::Running && windows_->isViewable(frame);
    killHard(program);
    // An error box carries the program's title too: what it said tells them apart.
    const QByteArray said = program.readAllStandardError();
    QVERIFY2(hintsRight, qPrintable(QStringLiteral("the title bar still offers maximise or close (hints %1; the "
                                                   "program said: %2)")
                                        .arg(QString::number(hints.value(1, 0)), QString::fromLocal8Bit(said))));
    QVERIFY2(stillRunning, "the window manager's close ended the program");
}

void InstanceTest::withoutAnyDesktopTheProgramSaysSoInsteadOfAborting()
{
    if (!programProblem().isEmpty())
        QSKIP(qPrintable(programProblem()));
    QTemporaryDir runtime;
    QProcessEnvironment environment = apptest::programEnvironment(runtime.path(), QString());
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(apptest::ProgramPath);
    QVERIFY(program.waitForFinished(60000));
    const QByteArray said = program.readAllStandardError();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QVERIFY2(said.contains("cannot show its window") && said.contains("DISPLAY"), said.constData());
    QVERIFY(!QFile::exists(runtime.filePath(QStringLiteral("vorimel.lock"))));
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], HoldLockFlag) == 0)
        return holdLock(argc, argv);
    QCoreApplication application(argc, argv);
    InstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_instance.moc"
