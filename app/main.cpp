#include "app/ErrorReportingApplication.h"
#include "app/Program.h"
#include "platform/desktop/ActivationToken.h"
#include "platform/desktop/InstanceLock.h"
#include "platform/desktop/WindowingSystem.h"

#include <cstdio>

int main(int argc, char **argv)
{
    platform::desktop::captureLaunchActivationToken();
    const platform::desktop::WindowingChoice windowing = platform::desktop::chooseWindowingSystem(argc, argv);
    if (!windowing.problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", windowing.problem.toLocal8Bit().constData());
        return 1;
    }
    // Only for this process's own start: programs it opens choose for themselves.
    if (!windowing.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", windowing.platform);
    app::ErrorReportingApplication application(argc, argv);
    if (!windowing.platform.isEmpty())
        qunsetenv("QT_QPA_PLATFORM");
    app::applyProgramIdentity();
    return app::runProgram(application, platform::desktop::InstanceLock::defaultPath(), QString());
}
