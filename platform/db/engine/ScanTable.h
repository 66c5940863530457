#pragma once
// Keyword searches test the text of every row with LIKE. Through SQLite, each
// row costs a trip through its virtual machine and a function call, more than
// the test itself. A scan table stands in front of a table with a copy of its
// values (TableCopy) and answers the LIKE conditions of a statement in one
// tight pass over the copied text, handing SQLite only the rows that match,
// and hands them over already sorted when the statement orders them by one
// text column with the case-blind collation; everything else (other
// conditions, other sorting, DISTINCT) SQLite does as before.
// It lives in the temp schema under the table's own name, which statements
// find before the table itself.

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::db {

// The copies cost memory, so a table's copies may take at most half of what
// the database itself takes, and never less than kScanTableBudget. A
// limit that grows with the data keeps a search's cost growing with it: with
// a fixed one, a title table past it fell back to SQLite's LIKE and NOCASE
// calls row by row, forty times slower at one step.
inline constexpr std::size_t kScanTableBudget = 12u << 20;
inline constexpr std::size_t kScanTableShareOfDatabase = 2;

// What one table's copy may take in db, by the size of its main database.
std::size_t scanTableBudget(sqlite3 *db);

// Puts a scan table in front of every table of main (after the case-blind
// NOCASE collation is in place: the scan tables sort by the same rules),
// which copies the columns statements use within the budget (by default
// scanTableBudget; TableCopy.h); a table that cannot be read or has no rowid
// is simply read directly. Returns the names of the tables that got one.
std::vector<std::string> addScanTables(sqlite3 *db, std::optional<std::size_t> budgetBytes = std::nullopt);

// True while a scan table declares its columns to SQLite, which passes that
// declaration through the authorizer as a change to the schema.
bool declaringScanTable();

} // namespace platform::db
