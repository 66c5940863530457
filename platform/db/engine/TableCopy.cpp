#include "platform/db/engine/TableCopy.h"

#include "platform/db/engine/ColumnOrder.h"
#include "platform/db/engine/SqlNames.h"
#include "platform/db/engine/SqliteHandle.h"

#include <algorithm>
#include <numeric>

namespace platform::db {
namespace {

// The first of SQLite's names for the rowid that no column has taken and
// that the table answers to (a table without rowid answers to none).
std::string rowidNameOf(sqlite3 *db, const std::string &table, const ColumnCopy &layout)
{
    for (const char *name : {"rowid", "_rowid_", "oid"}) {
        const bool taken = std::any_of(layout.columns.begin(), layout.columns.end(),
                                       [&](const CopiedColumn &c) { return lowerAscii(c.name) == name; });
        if (taken)
            continue;
        sqlite3_stmt *raw = nullptr;
        const std::string sql = std::string("SELECT ") + name + " FROM main." + quotedName(table);
        const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
        sqlite3_finalize(raw);
        return rc == SQLITE_OK ? name : std::string();
    }
    return {};
}

ColumnCopy declarationsOf(const ColumnCopy &copy)
{
    ColumnCopy layout;
    layout.rows = copy.rows;
    for (const CopiedColumn &c : copy.columns)
        layout.columns.push_back({c.name, c.declaredType, c.collation, {}, {}, c.textOrNull});
    return layout;
}

} // namespace

const std::vector<std::uint32_t> &ColumnInMemory::allRowsInOrder() const
{
    if (rowsInOrder.size() != copy.values.size()) {
        rowsInOrder.resize(copy.values.size());
        std::iota(rowsInOrder.begin(), rowsInOrder.end(), 0u);
        sortRows(copy, rowsInOrder);
    }
    return rowsInOrder;
}

TableCopy::TableCopy(sqlite3 *db, std::string table, ColumnCopy layout, std::size_t budgetBytes)
    : db_(db), table_(std::move(table)), layout_(std::move(layout)), budgetBytes_(budgetBytes),
      columns_(layout_.columns.size())
{
}

std::unique_ptr<TableCopy> TableCopy::make(sqlite3 *db, const std::string &table, std::size_t budgetBytes,
                                           std::string *why)
{
    std::string notWhole;
    if (std::optional<ColumnCopy> copy = copyColumns(db, table, budgetBytes, &notWhole)) {
        std::unique_ptr<TableCopy> made(new TableCopy(db, table, declarationsOf(*copy), budgetBytes));
        made->whole_ = true;
        for (std::size_t i = 0; i < copy->columns.size(); ++i)
            made->columns_[i] = std::make_shared<const ColumnInMemory>(std::move(copy->columns[i]));
        return made;
    }
    std::optional<ColumnCopy> layout = describeTable(db, table, why);
    if (!layout)
        return nullptr;
    std::unique_ptr<TableCopy> made(new TableCopy(db, table, std::move(*layout), budgetBytes));
    made->rowidName_ = rowidNameOf(db, table, made->layout_);
    if (made->rowidName_.empty()) {
        *why = notWhole + ", and it has no rowid to read its rows by";
        return nullptr;
    }
    return made;
}

sqlite3_int64 TableCopy::rowidAt(std::size_t row) const
{
    return whole_ ? sqlite3_int64(row) + 1 : rowids_[row];
}

SharedColumn TableCopy::column(int index)
{
    SharedColumn &slot = columns_[std::size_t(index)];
    if (whole_)
        return slot;
    if (!slot) {
        std::vector<sqlite3_int64> rowids;
        std::optional<CopiedColumn> made = copyColumn(db_, table_, layout_.columns[std::size_t(index)], rowidName_,
                                                      layout_.rows, budgetBytes_, rowids_.empty() ? &rowids : nullptr);
        if (!made)
            return nullptr;
        if (rowids_.empty())
            rowids_ = std::move(rowids);
        makeRoomFor(bytesOf(*made));
        slot = std::make_shared<const ColumnInMemory>(std::move(*made));
    }
    std::erase(leastRecentlyUsed_, index);
    leastRecentlyUsed_.push_back(index);
    return slot;
}

void TableCopy::makeRoomFor(std::size_t bytes)
{
    const auto used = [this] {
        std::size_t sum = rowids_.size() * sizeof(sqlite3_int64);
        for (const SharedColumn &c : columns_)
            sum += c ? bytesOf(c->copy) : 0;
        return sum;
    };
    while (!leastRecentlyUsed_.empty() && used() + bytes > budgetBytes_) {
        columns_[std::size_t(leastRecentlyUsed_.front())].reset();
        leastRecentlyUsed_.erase(leastRecentlyUsed_.begin());
    }
}

} // namespace platform::db
