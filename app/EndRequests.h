#pragma once
// Requests from outside to end the program: a termination signal, or the
// desktop session ending (its session manager asks the application to quit).
// Each ends the program the way the ribbon's Exit does: database closed,
// windows gone, the instance lock let go by whoever holds it. While the error
// box of a failed start is up there is no frame window, and the request closes
// the box instead.

#include "platform/TerminationSignals.h"

#include <QObject>

namespace app {

class ErrorReportingApplication;

class EndRequests : public QObject {
    Q_OBJECT
public:
    explicit EndRequests(ErrorReportingApplication &application);

private:
    void endProgram();

    platform::TerminationSignals signals_;
};

} // namespace app
