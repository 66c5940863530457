#pragma once
// Ownership of SQLite connections and statements.

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

#include <memory>

namespace platform::db {

struct SqliteCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
struct SqliteFinalizer {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};

using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

} // namespace platform::db
