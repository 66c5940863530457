#include "Program.h"

#include "app/AppVersion.h"
#include "app/ErrorReportingApplication.h"
#include "app/ProgramArt.h"
#include "app/modMainModule.h"
#include "platform/TerminationSignals.h"
#include "platform/db/Database.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace app {

namespace {

// The lock of the program while runProgram runs.
platform::desktop::InstanceLock *runningLock = nullptr;

// Qt ends the process with exit() from inside the event loop when its display
// connection breaks (the X server or the session is gone). The database is
// closed and the lock let go as Exit would; then the process ends before the
// static objects are torn down under windows and threads still in use.
void endingFromInsideTheEventLoop()
{
    if (!runningLock)
        return;
    platform::db::sharedConnection().close();
    runningLock->release();
    std::fflush(nullptr);
    ::_exit(1);
}

// Called just before an event loop runs: the shared database objects exist by
// then, so this handler, registered after them, runs before their static
// destructors would.
void endThroughTheHookIfQtExits(platform::desktop::InstanceLock &lock)
{
    static const bool installed = std::atexit(endingFromInsideTheEventLoop) == 0;
    runningLock = installed ? &lock : nullptr;
}

// A termination signal, or the desktop session ending (its session manager
// asks the application to quit), ends the program the way the ribbon's Exit
// does: database closed, windows gone, the instance lock let go by whoever
// holds it. Nothing is handled before the frame window exists: the loop first
// runs while it loads. Without one, the error box of a failed start is up, and
// the request closes the box instead.
void endOnRequest()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *frame = qobject_cast<frmMainForm *>(widget)) {
            frame->MDIForm_Unload();
            return;
        }
    }
    QCoreApplication::exit(1); // leaves every event loop, the box's among them
}

} // namespace

void applyProgramIdentity()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(version::ProductName));
    QCoreApplication::setOrganizationName(QString::fromLatin1(version::CompanyName));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(version::FileVersion));
    QGuiApplication::setWindowIcon(programIcon());
    // The Wayland app id: what ties the windows to the desktop entry
    // vorimel.desktop, its icon and its launch feedback.
    QGuiApplication::setDesktopFileName(QStringLiteral("vorimel"));
}

int runProgram(ErrorReportingApplication &application, const QString &lockPath, const QString &programFolder)
{
    int status = 0;
    // Outlives the windows and the error box of a failed start alike.
    platform::desktop::InstanceLock lock(lockPath);
    // Both connections end with it, before the lock is let go.
    platform::TerminationSignals endSignals;
    QObject::connect(&endSignals, &platform::TerminationSignals::received, &endSignals, endOnRequest);
    QObject::connect(&application, &ErrorReportingApplication::quitRequested, &endSignals, endOnRequest);
    try {
        modMainModule::Instance instance = modMainModule::Main(lock, programFolder);
        frmMainForm *mainForm = instance.mainForm.get();
        if (mainForm && !application.hasFailed()) {
            QObject::connect(&application, &ErrorReportingApplication::fatalErrorReported, mainForm,
                             [mainForm] { mainForm->endProgram(1); });
            endThroughTheHookIfQtExits(lock);
            // The event loop is not entered when the program ended while loading.
            status = mainForm->hasEnded() ? mainForm->endStatus() : application.exec();
        }
    } catch (...) {
        endThroughTheHookIfQtExits(lock);
        application.reportFatal(ErrorReportingApplication::errorFrom(std::current_exception()));
    }
    // Every window is gone by now, so nothing reads through them any more.
    platform::db::releaseShared();
    runningLock = nullptr;
    return application.hasFailed() ? 1 : status;
}

} // namespace app
