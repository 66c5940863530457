// The whole program from entry to exit status, each run in a child process of
// this test (the same executable, started with --run-program): a failing start
// or handler ends it with one error box and status 1, Exit with status 0, a
// second instance at once; under the sanitizers a use after free or a leak on
// the way out fails the child too.

#include "ProcedureDatabase.h"
#include "ProgramProcess.h"
#include "XvfbServer.h"

#include "app/ErrorReportingApplication.h"
#include "app/Program.h"
#include "app/frmMainForm.h"
#include "lookup/frmProcedures.h"
#include "platform/desktop/InstanceLock.h"

#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <signal.h>
#include <unistd.h>

namespace {

const char RunProgramFlag[] = "--run-program";

// ------------------------------------------------------------ the child side

app::frmMainForm *runningFrame()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *frame = qobject_cast<app::frmMainForm *>(widget))
            return frame;
    return nullptr;
}

// Runs action once the frame window is on screen, that is in the event loop.
void whenShown(std::function<void()> action)
{
    auto *poll = new QTimer(QCoreApplication::instance());
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
        if (runningFrame() && runningFrame()->isVisible()) {
            poll->deleteLater();
            poll->stop();
            action();
        }
    });
    poll->start();
}

void exitWhileSearching()
{
    QPointer<lookup::frmProcedures> search = runningFrame()->procedures();
    search->txtSearch()->setText(QStringLiteral("Procedure"));
    auto *poll = new QTimer(runningFrame());
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, search] {
        if (search && search->lstSearch()->count() >= 50) {
            poll->stop();
            std::printf("EXIT AT %lld\n", static_cast<long long>(search->lstSearch()->count()));
            std::fflush(stdout);
            runningFrame()->PressMenuButton(app::frmMainForm::CmdExit);
        }
    });
    poll->start();
    QTest::mouseClick(search->cmdSearch(), Qt::LeftButton);
}

void scheduleAction(const QString &action)
{
    if (action == QLatin1String("exit"))
        whenShown([] { runningFrame()->PressMenuButton(app::frmMainForm::CmdExit); });
    else if (action == QLatin1String("bad-command"))
        whenShown([] { runningFrame()->TelvarRibbon1_ButtonClick(QStringLiteral("Exit"), QString()); });
    else if (action == QLatin1String("exit-while-searching"))
        whenShown(exitWhileSearching);
    else if (action == QLatin1String("report-shown"))
        whenShown([] {
            std::printf("SHOWN\n");
            std::fflush(stdout);
        });
    else if (action == QLatin1String("session-end")) // what Qt makes of the session manager's "die"
        whenShown([] { QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit)); });
    else if (action == QLatin1String("exit-during-load")) // the first time loading lets events run
        QTimer::singleShot(0, [] { runningFrame()->PressMenuButton(app::frmMainForm::CmdExit); });
}

// A message box runs an event loop of its own until it is closed.
void runBoxLoopUntilInputCloses()
{
    QEventLoop box;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &box, [&box] {
        char byte;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            box.quit();
    });
    box.exec();
}

int runChild(int argc, char **argv)
{
    // argv: program --run-program lockPath programFolder action
    app::ErrorReportingApplication application(argc, argv);
    // "keep-error-box": the box stays up until the test closes our standard
    // input; "second-error" raises one more error in a handler meanwhile.
    const bool secondError = qstrcmp(argv[4], "second-error") == 0;
    const bool keepBox = secondError || qstrcmp(argv[4], "keep-error-box") == 0;
    application.setErrorPresenter([keepBox, secondError](const platform::AppError &error) {
        std::printf("ERROR %d: %s\n", error.number(), qPrintable(error.description()));
        std::fflush(stdout);
        if (secondError)
            QTimer::singleShot(0, [] { throw platform::AppError(3021, QStringLiteral("test"), QStringLiteral("again")); });
        if (keepBox)
            runBoxLoopUntilInputCloses();
    });
    scheduleAction(QString::fromLocal8Bit(argv[4]));
    return app::runProgram(application, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
}

// ------------------------------------------------------------ the test side

// A run of the program in a child process, which the test may also end from
// outside once it has said a cue.
class ChildRun {
public:
    ChildRun(const QString &lockPath, const QString &folder, const QString &action,
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        child_.setProcessEnvironment(environment);
        child_.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(RunProgramFlag), lockPath, folder, action});
    }
    ~ChildRun() { apptest::killHard(child_); }
    bool waitForCue(const QByteArray &cue)
    {
        while (!said_.contains(cue) && child_.waitForReadyRead(60000))
            said_ += child_.readAllStandardOutput();
        return said_.contains(cue);
    }
    qint64 pid() const { return child_.processId(); }
    bool isRunning() const { return child_.state() == QProcess::Running; }
    void closeInput() { child_.closeWriteChannel(); }
    // The exit status, or -1 after a signal or a hang.
    int waitForEnd()
    {
        if (!child_.waitForFinished(60000))
            return -1;
        said_ += child_.readAllStandardOutput();
        return child_.exitStatus() == QProcess::NormalExit ? child_.exitCode() : -1;
    }
    QString output() const { return QString::fromLocal8Bit(said_); }
    // Both outputs.
    QString said()
    {
        errors_ += child_.readAllStandardError();
        return QString::fromLocal8Bit(said_ + errors_);
    }

private:
    QProcess child_;
    QByteArray said_; // the standard output
    QByteArray errors_;
};

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void exitEndsWithStatusZero();
    void exitWhileASearchReadsEndsCleanly();
    void exitWhileLoadingEndsWithoutTheEventLoop();
    void missingDatabaseEndsWithItsNumberAndFileName();
    void theLockIsKeptWhileTheErrorBoxIsOpen();
    void aSecondErrorLeavesTheFirstErrorBoxUp();
    void anErrorInAHandlerEndsWithStatusOne();
    void aSecondInstanceEndsAtOnceWithoutAWindow();
    void endRequestsFromOutsideEndTheProgramLikeExit_data();
    void endRequestsFromOutsideEndTheProgramLikeExit();
    void theEndOfTheDisplayEndsTheProgramLikeExit();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString lockPath_;
};

void ProgramTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    lockPath_ = folder_->filePath(QStringLiteral("vorimel.lock"));
}

void ProgramTest::exitEndsWithStatusZero()
{
    apptest::writeProcedureDatabase(folder_->path(), 20);
    ChildRun run(lockPath_, folder_->path(), QStringLiteral("exit"));
    QVERIFY2(run.waitForEnd() == 0, qPrintable(run.said()));
    QVERIFY(!run.output().contains(QLatin1String("ERROR")));
    QVERIFY(!QFile::exists(lockPath_));
}

void ProgramTest::exitWhileASearchReadsEndsCleanly()
{
    apptest::writeProcedureDatabase(folder_->path(), 2000);
    ChildRun run(lockPath_, folder_->path(), QStringLiteral("exit-while-searching"));
    QVERIFY2(run.waitForEnd() == 0, qPrintable(run.said()));
    QVERIFY2(run.output().contains(QLatin1String("EXIT AT")), qPrintable(run.output()));
    qInfo("%s of 2000 rows read when Exit came", qPrintable(run.output().trimmed()));
    QVERIFY(!run.output().contains(QLatin1String("ERROR")));
    QVERIFY2(!run.said().contains(QLatin1String("Sanitizer")), qPrintable(run.said()));
}

void ProgramTest::exitWhileLoadingEndsWithoutTheEventLoop()
{
    apptest::writeProcedureDatabase(folder_->path(), 20);
    ChildRun run(lockPath_, folder_->path(), QStringLiteral("exit-during-load"));
    QVERIFY2(run.waitForEnd() == 0, qPrintable(run.said())); // within the minute it waits
    QVERIFY(!QFile::exists(lockPath_));
}

void ProgramTest::missingDatabaseEndsWithItsNumberAndFileName()
{
    ChildRun run(lockPath_, folder_->path(), QStringLiteral("none"));
    QCOMPARE(run.waitForEnd(), 1);
    QVERIFY2(run.output().startsWith(QLatin1String("ERROR 3024: ")), qPrintable(run.said()));
    QVERIFY2(run.output().contains(QLatin1String("pcs.mdb")), qPrintable(run.output()));
    QCOMPARE(run.output().count(QLatin1String("ERROR")), 1);
    QVERIFY(!QFile::exists(lockPath_));
}

void ProgramTest::theLockIsKeptWhileTheErrorBoxIsOpen()
{
    ChildRun failing(lockPath_, folder_->path(), QStringLiteral("keep-error-box"));
    failing.waitForCue("\n");
    QVERIFY2(failing.output().startsWith(QLatin1String("ERROR 3024")), qPrintable(failing.said()));

    // A start while the box is open is a second instance: no second box.
    ChildRun second(lockPath_, folder_->path(), QStringLiteral("none"));
    const int secondStatus = second.waitForEnd();
    failing.closeInput();
    QCOMPARE(failing.waitForEnd(), 1);
    QVERIFY2(secondStatus == 0 && second.output().isEmpty(), qPrintable(second.said()));
    QVERIFY(!QFile::exists(lockPath_));
}

void ProgramTest::aSecondErrorLeavesTheFirstErrorBoxUp()
{
    // The frame's timers and handlers still run behind the box: an error of
    // theirs must not close the box before the user has read it.
    ChildRun failing(lockPath_, folder_->path(), QStringLiteral("second-error"));
    QVERIFY2(failing.waitForCue("ERROR 3024"), qPrintable(failing.said()));
    QTest::qWait(1000);
    const bool boxStillUp = failing.isRunning();
    failing.closeInput();
    QCOMPARE(failing.waitForEnd(), 1);
    QVERIFY2(boxStillUp, "the second error closed the box");
    QCOMPARE(failing.said().count(QLatin1String("ERROR")), 1);
}

void ProgramTest::anErrorInAHandlerEndsWithStatusOne()
{
    apptest::writeProcedureDatabase(folder_->path(), 20);
    ChildRun run(lockPath_, folder_->path(), QStringLiteral("bad-command"));
    QCOMPARE(run.waitForEnd(), 1);
    QVERIFY2(run.output().startsWith(QLatin1String("ERROR 13: ")), qPrintable(run.said()));
    QCOMPARE(run.output().count(QLatin1String("ERROR")), 1);
    QVERIFY2(!run.said().contains(QLatin1String("Sanitizer")), qPrintable(run.said()));
}

void ProgramTest::aSecondInstanceEndsAtOnceWithoutAWindow()
{
    // Without a database a first instance would end with error 3024: a
    // silent status 0 shows that the frame was never even created.
    platform::desktop::InstanceLock running(lockPath_);
    QVERIFY(running.acquire());
    ChildRun run(lockPath_, folder_->path(), QStringLiteral("none"));
    QVERIFY2(run.waitForEnd() == 0, qPrintable(run.said()));
    QVERIFY(run.output().isEmpty());
    QVERIFY(running.isHeld());
}

void ProgramTest::endRequestsFromOutsideEndTheProgramLikeExit_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("signalNumber"); // 0: the request is the action itself
    QTest::addColumn<int>("status");
    QTest::newRow("SIGTERM") << QStringLiteral("report-shown") << int(SIGTERM) << 0;
    QTest::newRow("SIGINT") << QStringLiteral("report-shown") << int(SIGINT) << 0;
    QTest::newRow("SIGHUP") << QStringLiteral("report-shown") << int(SIGHUP) << 0;
    QTest::newRow("session end") << QStringLiteral("session-end") << 0 << 0;
    // No frame window to end: the request closes the error box of a failed start.
    QTest::newRow("SIGTERM at the error box") << QStringLiteral("keep-error-box") << int(SIGTERM) << 1;
}

void ProgramTest::endRequestsFromOutsideEndTheProgramLikeExit()
{
    QFETCH(QString, action);
    QFETCH(int, signalNumber);
    QFETCH(int, status);
    if (action != QLatin1String("keep-error-box"))
        apptest::writeProcedureDatabase(folder_->path(), 20);
    QTemporaryDir temp;
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temp.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    ChildRun run(lockPath_, folder_->path(), action, environment);
    if (signalNumber) {
        QVERIFY2(run.waitForCue(action == QLatin1String("keep-error-box") ? "ERROR" : "SHOWN"), qPrintable(run.said()));
        QVERIFY(QFile::exists(lockPath_));
        QCOMPARE(::kill(pid_t(run.pid()), signalNumber), 0);
    }
    QCOMPARE(run.waitForEnd(), status);
    QVERIFY2(!run.said().contains(QLatin1String("Sanitizer")), qPrintable(run.said()));
    QVERIFY(!QFile::exists(lockPath_));
    QCOMPARE(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void ProgramTest::theEndOfTheDisplayEndsTheProgramLikeExit()
{
    auto server = std::make_unique<apptest::XvfbServer>();
    QString problem;
    if (!server->start(&problem))
        QSKIP(qPrintable(problem));
    apptest::writeProcedureDatabase(folder_->path(), 20);
    QTemporaryDir temp;
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temp.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server->display()));

    ChildRun run(lockPath_, folder_->path(), QStringLiteral("report-shown"), environment);
    QVERIFY2(run.waitForCue("SHOWN"), qPrintable(run.said()));
    server.reset(); // the X session is over
    const int status = run.waitForEnd();
    QVERIFY2(status >= 0, qPrintable(run.said())); // no signal, no hang
    QVERIFY2(!run.said().contains(QLatin1String("Sanitizer")), qPrintable(run.said()));
    QVERIFY2(!QFile::exists(lockPath_), qPrintable(QStringLiteral("status %1: ").arg(status) + run.said()));
    QCOMPARE(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

int main(int argc, char **argv)
{
    if (argc == 5 && qstrcmp(argv[1], RunProgramFlag) == 0)
        return runChild(argc, argv);
    QApplication application(argc, argv);
    ProgramTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_program.moc"
