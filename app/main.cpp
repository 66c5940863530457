#include "app/ErrorReportingApplication.h"
#include "app/Program.h"
#include "platform/desktop/InstanceLock.h"

int main(int argc, char **argv)
{
    app::ErrorReportingApplication application(argc, argv);
    app::applyProgramIdentity();
    return app::runProgram(application, platform::desktop::InstanceLock::defaultPath(), QString());
}
