#pragma once
// What a scan table holds of its table. A table whose copy fits the budget is
// copied whole when the scan table is made. A larger one is copied a column at
// a time, when a LIKE condition first asks for the column, within the budget:
// the column used longest ago gives way. Its other values are read from the
// table itself, by rowid. So a table too large to copy whole still has its
// searched columns scanned at the copy's speed, and what the copy takes grows
// only with the columns searched.

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
    // Nothing when the table cannot be read, or is too large to copy whole
    // and has no rowid to read its rows by; the reason in *why.
    static std::unique_ptr<TableCopy> make(sqlite3 *db, const std::string &table, std::size_t budgetBytes,
                                           std::string *why);

    sqlite3 *database() const { return db_; }
    const std::string &table() const { return table_; }
    const std::vector<CopiedColumn> &layout() const { return layout_.columns; } // declarations, no values
    std::size_t rows() const { return layout_.rows; }
    bool whole() const { return whole_; }
    const std::string &rowidName() const { return rowidName_; }
    sqlite3_int64 rowidAt(std::size_t row) const;

    // The column's copy, made now if need be; null when it does not fit the
    // budget or cannot be read. A cursor keeps what it was given even when
    // the column later gives way.
    SharedColumn column(int index);
    // The column's copy only if it is in memory now.
    SharedColumn columnInMemory(int index) const { return columns_[std::size_t(index)]; }

private:
    TableCopy(sqlite3 *db, std::string table, ColumnCopy layout, std::size_t budgetBytes);
    void makeRoomFor(std::size_t bytes);

    sqlite3 *db_;
    std::string table_;
    ColumnCopy layout_;
    std::size_t budgetBytes_;
    bool whole_ = false;
    std::string rowidName_;
    std::vector<sqlite3_int64> rowids_;   // of each row, for a table copied by columns
    std::vector<SharedColumn> columns_;   // null: not in memory
    std::vector<int> leastRecentlyUsed_;  // columns in memory, the one used longest ago first
};

} // namespace platform::db
