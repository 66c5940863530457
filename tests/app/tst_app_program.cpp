// The whole program from entry to exit status, each run in a child process of
// this test (the same executable, started with --run-program): a failing start
// or handler ends it with one error box and status 1, Exit with status 0, a
// second instance at once; under the sanitizers a use after free or a leak on
// the way out fails the child too.

#include "ProcedureDatabase.h"

#include "app/ErrorReportingApplication.h"
#include "app/Program.h"
#include "app/frmMainForm.h"
#include "lookup/frmProcedures.h"
#include "platform/desktop/InstanceLock.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

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
    else if (action == QLatin1String("exit-during-load")) // the first time loading lets events run
        QTimer::singleShot(0, [] { runningFrame()->PressMenuButton(app::frmMainForm::CmdExit); });
}

int runChild(int argc, char **argv)
{
    // argv: program --run-program lockPath programFolder action
    app::ErrorReportingApplication application(argc, argv);
    application.setErrorPresenter([](const platform::AppError &error) {
        std::printf("ERROR %d: %s\n", error.number(), qPrintable(error.description()));
        std::fflush(stdout);
    });
    scheduleAction(QString::fromLocal8Bit(argv[4]));
    return app::runProgram(application, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
}

// ------------------------------------------------------------ the test side

struct ChildRun {
    int status = -1;
    QString output;
    QString errors;
    qint64 milliseconds = 0;
};

ChildRun runProgram(const QString &lockPath, const QString &folder, const QString &action)
{
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(RunProgramFlag), lockPath, folder, action});
    ChildRun run;
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished();
        run.errors = QStringLiteral("did not end within two minutes");
        return run;
    }
    run.milliseconds = clock.elapsed();
    run.status = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    run.output = QString::fromLocal8Bit(child.readAllStandardOutput());
    run.errors = QString::fromLocal8Bit(child.readAllStandardError());
    return run;
}

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void exitEndsWithStatusZero();
    void exitWhileASearchReadsEndsCleanly();
    void exitWhileLoadingEndsWithoutTheEventLoop();
    void missingDatabaseEndsWithItsNumberAndFileName();
    void anErrorInAHandlerEndsWithStatusOne();
    void aSecondInstanceEndsAtOnceWithoutAWindow();

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
    const ChildRun run = runProgram(lockPath_, folder_->path(), QStringLiteral("exit"));
    QVERIFY2(run.status == 0, qPrintable(run.output + run.errors));
    QVERIFY(!run.output.contains(QLatin1String("ERROR")));
    QVERIFY(!QFile::exists(lockPath_));
}

void ProgramTest::exitWhileASearchReadsEndsCleanly()
{
    apptest::writeProcedureDatabase(folder_->path(), 2000);
    const ChildRun run = runProgram(lockPath_, folder_->path(), QStringLiteral("exit-while-searching"));
    QVERIFY2(run.status == 0, qPrintable(run.output + run.errors));
    QVERIFY2(run.output.contains(QLatin1String("EXIT AT")), qPrintable(run.output));
    qInfo("%s of 2000 rows read when Exit came", qPrintable(run.output.trimmed()));
    QVERIFY(!run.output.contains(QLatin1String("ERROR")));
    QVERIFY2(!run.errors.contains(QLatin1String("Sanitizer")), qPrintable(run.errors));
}

void ProgramTest::exitWhileLoadingEndsWithoutTheEventLoop()
{
    apptest::writeProcedureDatabase(folder_->path(), 20);
    const ChildRun run = runProgram(lockPath_, folder_->path(), QStringLiteral("exit-during-load"));
    QVERIFY2(run.status == 0, qPrintable(run.output + run.errors));
    QVERIFY(run.milliseconds < 60000);
    QVERIFY(!QFile::exists(lockPath_));
}

void ProgramTest::missingDatabaseEndsWithItsNumberAndFileName()
{
    const ChildRun run = runProgram(lockPath_, folder_->path(), QStringLiteral("none"));
    QCOMPARE(run.status, 1);
    QVERIFY2(run.output.startsWith(QLatin1String("ERROR 3024: ")), qPrintable(run.output + run.errors));
    QVERIFY2(run.output.contains(QLatin1String("pcs.mdb")), qPrintable(run.output));
    QCOMPARE(run.output.count(QLatin1String("ERROR")), 1);
    QVERIFY(!QFile::exists(lockPath_));
}

void ProgramTest::anErrorInAHandlerEndsWithStatusOne()
{
    apptest::writeProcedureDatabase(folder_->path(), 20);
    const ChildRun run = runProgram(lockPath_, folder_->path(), QStringLiteral("bad-command"));
    QCOMPARE(run.status, 1);
    QVERIFY2(run.output.startsWith(QLatin1String("ERROR 13: ")), qPrintable(run.output + run.errors));
    QCOMPARE(run.output.count(QLatin1String("ERROR")), 1);
    QVERIFY2(!run.errors.contains(QLatin1String("Sanitizer")), qPrintable(run.errors));
}

void ProgramTest::aSecondInstanceEndsAtOnceWithoutAWindow()
{
    // Without a database a first instance would end with error 3024: a
    // silent status 0 shows that the frame was never even created.
    platform::desktop::InstanceLock running(lockPath_);
    QVERIFY(running.acquire());
    const ChildRun run = runProgram(lockPath_, folder_->path(), QStringLiteral("none"));
    QVERIFY2(run.status == 0, qPrintable(run.output + run.errors));
    QVERIFY(run.output.isEmpty());
    QVERIFY(running.isHeld());
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
