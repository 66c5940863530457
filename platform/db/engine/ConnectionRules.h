#pragma once
// The walls every SQLite connection of the program stands within, whether it
// builds the copy of a file (in the loader) or reads the copy (in the
// program): no other database attached, no extension loaded, no function a
// schema names trusted, the schema itself untouchable (defensive mode), a
// name in double quotes never taken for a text, and
// an authorizer that admits only what the use needs. Both sides take them
// from here, so a rule added for one holds for the other.

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

namespace platform::db {

enum class ConnectionUse {
    Reading, // reading the copy: SELECT, column reads, functions
    Copying, // building it: tables, indexes and views in main, rows inserted there, and reading
};

// Call once the connection's own setup statements have run: afterwards the
// authorizer refuses them. Returns SQLITE_OK or the code of the step that failed.
int restrictConnection(sqlite3 *db, ConnectionUse use);

} // namespace platform::db
