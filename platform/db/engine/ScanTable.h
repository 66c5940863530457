#pragma once
// Keyword searches test the text of every row with LIKE. Through SQLite, each
// row costs a trip through its virtual machine and a function call, more than
// the test itself. A scan table stands in front of a table with a copy of its
// values (ColumnCopy) and answers the LIKE conditions of a statement in one
// tight pass over the copied text, handing SQLite only the rows that match,
// and hands them over already sorted when the statement orders them by one
// text column with the case-blind collation; everything else (other
// conditions, other sorting, DISTINCT) SQLite does as before.
// It lives in the temp schema under the table's own name, which statements
// find before the table itself.

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

#include <cstddef>
#include <string>
#include <vector>

namespace platform::db {

// The copies cost memory: a table whose copy would exceed this is read directly.
inline constexpr std::size_t kScanTableBudget = 12u << 20;

// Puts a scan table in front of every table of main whose copy fits the
// budget (after the case-blind NOCASE collation is in place: the scan tables
// sort by the same rules); a table that does not fit or cannot be copied is simply read
// directly. Returns the names of the tables that got one.
std::vector<std::string> addScanTables(sqlite3 *db, std::size_t budgetBytes = kScanTableBudget);

// True while a scan table declares its columns to SQLite, which passes that
// declaration through the authorizer as a change to the schema.
bool declaringScanTable();

} // namespace platform::db
