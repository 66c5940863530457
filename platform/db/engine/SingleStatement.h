#pragma once
// Runs SQL text built from a file's names and expressions as exactly one
// statement: whatever a quoting mistake or a hostile name might smuggle in
// after it is refused, never run.

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform::db {

// Throws std::runtime_error with SQLite's complaint, or when the text holds
// anything after its one statement.
void runSingleStatement(sqlite3 *db, std::string_view sql);

// Prepares without running, with the same refusal; returns the empty string
// when the statement prepares, else why not.
std::string checkSingleStatement(sqlite3 *db, std::string_view sql);

} // namespace platform::db
