#include "Program.h"

#include "app/AppVersion.h"
#include "app/ErrorReportingApplication.h"
#include "app/ProgramArt.h"
#include "app/modMainModule.h"
#include "platform/db/Database.h"

#include <QGuiApplication>

namespace app {

void applyProgramIdentity()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(version::ProductName));
    QCoreApplication::setOrganizationName(QString::fromLatin1(version::CompanyName));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(version::FileVersion));
    QGuiApplication::setWindowIcon(programIcon());
}

int runProgram(ErrorReportingApplication &application, const QString &lockPath, const QString &programFolder)
{
    int status = 0;
    try {
        modMainModule::Instance instance = modMainModule::Main(lockPath, programFolder);
        frmMainForm *mainForm = instance.mainForm.get();
        if (mainForm && !application.hasFailed()) {
            QObject::connect(&application, &ErrorReportingApplication::fatalErrorReported, mainForm,
                             [mainForm] { mainForm->endProgram(1); });
            // The event loop is not entered when the program ended while loading.
            status = mainForm->hasEnded() ? mainForm->endStatus() : application.exec();
        }
    } catch (...) {
        application.reportFatal(ErrorReportingApplication::errorFrom(std::current_exception()));
    }
    // Every window is gone by now, so nothing reads through them any more.
    platform::db::releaseShared();
    return application.hasFailed() ? 1 : status;
}

} // namespace app
