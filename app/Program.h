#pragma once
// Running the program from its entry point to its exit status.

#include <QString>

namespace app {

class ErrorReportingApplication;

// Name, maker, version and icon, as the version resource gives them.
void applyProgramIdentity();

// Main, then the event loop, then the release of the shared database objects.
// Returns the exit status: 0 after Exit or in a second instance, 1 after an
// error was shown. lockPath is the one-instance lock; programFolder holds
// pcs.mdb (the executable's folder when empty).
int runProgram(ErrorReportingApplication &application, const QString &lockPath, const QString &programFolder);

} // namespace app
