#pragma once
// What a scan table holds of its table: the columns statements use, copied
// when a statement first uses them, within a budget; when the columns a
// statement uses do not fit together, the table is read directly. Columns
// used longest ago give way. So the title table searched by keyword is held
// whole, and of the wide table the advanced search reads only the columns
// it searches and shows.

#include "platform/db/engine/LayerGuard.h"

#include "platform/db/engine/ColumnCopy.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::db {

// A column's copy, and its rows in the column's order once a large sorted
// result has asked for them: sorting once spares every later statement.
struct ColumnInMemory {
    explicit ColumnInMemory(CopiedColumn made) : copy(std::move(made)) {}
    const std::vector<std::uint32_t> &allRowsInOrder() const;

    const CopiedColumn copy;
    mutable std::vector<std::uint32_t> rowsInOrder; // empty until asked for
};
using SharedColumn = std::shared_ptr<const ColumnInMemory>;

class TableCopy {
public:
    // Nothing when the table cannot be read or has no rowid to read its rows
    // by; the reason in *why.
    static std::unique_ptr<TableCopy> make(sqlite3 *db, const std::string &table, std::size_t budgetBytes,
                                           std::string *why);

    sqlite3 *database() const { return db_; }
    const std::string &table() const { return table_; }
    const std::vector<CopiedColumn> &layout() const { return layout_.columns; } // declarations, no values
    std::size_t rows() const { return layout_.rows; }
    const std::string &rowidName() const { return rowidName_; }
    sqlite3_int64 rowidAt(std::size_t row) const { return rowids_.empty() ? sqlite3_int64(row) + 1 : rowids_[row]; }

    // The copies of the columns `used` names (SQLite's colUsed: bit i for
    // column i, bit 63 for every column from 63 on), made now if need be,
    // by column into *columns; false when they do not fit the budget
    // together or cannot be read. A cursor keeps what it was given even when
    // a column later gives way.
    bool columns(std::uint64_t used, std::vector<SharedColumn> *columns);

private:
    TableCopy(sqlite3 *db, std::string table, ColumnCopy layout, std::size_t budgetBytes);
    std::size_t bytesInMemory() const;

    sqlite3 *db_;
    std::string table_;
    ColumnCopy layout_;
    std::size_t budgetBytes_;
    std::string rowidName_;
    bool rowidsKnown_ = false;           // once the first column is copied
    std::vector<sqlite3_int64> rowids_;  // of each row; none kept when they count from 1
    std::vector<SharedColumn> columns_;  // null: not in memory
    std::vector<std::size_t> leastRecentlyUsed_; // columns in memory, the one used longest ago first
};

} // namespace platform::db
