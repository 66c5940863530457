#include "app/ErrorReportingApplication.h"
#include "app/Program.h"

int main(int argc, char **argv)
{
    app::ErrorReportingApplication application(argc, argv);
    app::applyProgramIdentity(application);
    return app::runProgram(application);
}
