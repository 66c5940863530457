#include "EndRequests.h"

#include "app/ErrorReportingApplication.h"
#include "app/frmMainForm.h"

namespace app {

namespace {

frmMainForm *runningFrame()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *frame = qobject_cast<frmMainForm *>(widget))
            return frame;
    return nullptr;
}

} // namespace

EndRequests::EndRequests(ErrorReportingApplication &application)
{
    connect(&signals_, &platform::TerminationSignals::received, this, &EndRequests::endProgram);
    connect(&application, &ErrorReportingApplication::quitRequested, this, &EndRequests::endProgram);
}

void EndRequests::endProgram()
{
    // Nothing is handled before the frame window exists: the loop first runs
    // while it loads. Without one, an error box of a failed start is up.
    if (frmMainForm *frame = runningFrame()) {
        frame->MDIForm_Unload();
        return;
    }
    QCoreApplication::exit(1); // leaves every event loop, the box's among them
}

} // namespace app
