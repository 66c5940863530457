#pragma once
// What a loaded copy of the database allows: reading only (an authorizer that
// admits SELECT, column reads and functions and nothing else, query_only on top
// of the read-only copy), and letter case ignored in every script as Jet does:
// the NOCASE collation of the text columns and LIKE both fold case beyond ASCII.
// Tables small enough get a scan table in front of them (ScanTable.h).

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

namespace platform::db {

// Longest LIKE pattern a statement may use; longer ones are refused.
inline constexpr int kLongestLikePattern = 50000;
inline constexpr const char *kPatternTooComplex = "LIKE or GLOB pattern too complex";

// Returns SQLITE_OK or the SQLite error code of the step that failed.
int applyQueryRules(sqlite3 *db);

} // namespace platform::db
