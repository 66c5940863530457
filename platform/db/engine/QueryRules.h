#pragma once
// What a loaded copy of the database allows: reading only (the reading rules of
// ConnectionRules.h, query_only on top of the read-only copy), statements
// within a memory ceiling, and letter case ignored in every script as Jet does:
// the NOCASE collation of the text columns and LIKE both fold case beyond ASCII.
// Tables get a scan table in front of them (ScanTable.h).

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

#include <cstddef>
#include <optional>

namespace platform::db {

// Longest LIKE pattern a statement may use; longer ones are refused.
inline constexpr int kLongestLikePattern = 50000;
inline constexpr const char *kPatternTooComplex = "LIKE or GLOB pattern too complex";

// What SQLite may hold for the program's statements together (sorting,
// temporary tables, page cache). On the full code set the heaviest honest
// statement, an advanced search matching every row (DISTINCT and ORDER BY
// over getalldata), peaks at 22 MB, the empty keyword search at under 2 MB.
// A statement that needs more ends with SQLITE_NOMEM within a few seconds
// instead of growing the program by gigabytes; the copy itself lies in
// memory of its own and is not counted.
inline constexpr long long kStatementHeapLimit = 128LL << 20;

// Returns SQLITE_OK or the SQLite error code of the step that failed. The
// scan tables' copies take at most scanTableBudget bytes a table, by default
// scanTableBudget(db).
int applyQueryRules(sqlite3 *db, std::optional<std::size_t> scanTableBudget = std::nullopt);

} // namespace platform::db
