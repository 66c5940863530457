#pragma once
// The command line of vorimel-pcsdb: options, help, messages and exit status.

#include <QStringList>

namespace pcsdb {

// Runs the program for the given arguments (the first being the program's name)
// and returns its exit status: 0 on success, 1 when the build failed, 2 for a
// faulty command line. Needs a QCoreApplication.
int runPcsDbCommand(const QStringList &arguments);

} // namespace pcsdb
