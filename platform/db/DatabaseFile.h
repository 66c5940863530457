#pragma once
// Finding and reading the file a Data Source names. The file is opened
// read-only and read whole; nothing is ever written to it.

#include "platform/db/jet/SealedSource.h"

#include <QString>

namespace platform::db {

// The path of the file: as written, or else with the last '\' taken as the
// folder separator (the program builds the name as folder + "\" + "pcs.mdb"),
// or else with every '\' taken as one. Throws AppError(ErrFileNotFound) naming
// the file with '/' for each '\', or ErrUnreadableFile.
QString locateDataSource(const QString &dataSource);

// Throws AppError(ErrUnreadableFile) for anything but a readable regular file.
// Its bytes go straight into the memory file the loader reads.
SealedSource readDatabaseFile(const QString &path);

} // namespace platform::db
