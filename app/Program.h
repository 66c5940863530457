#pragma once
// Running the program from its entry point to its exit status.

namespace app {

class ErrorReportingApplication;

// Name, maker, version and icon, as the version resource gives them.
void applyProgramIdentity(ErrorReportingApplication &application);

// Main, then the event loop, then the release of the shared database objects.
// Returns the exit status: 0 after Exit or in a second instance, 1 after an
// error was shown.
int runProgram(ErrorReportingApplication &application);

} // namespace app
