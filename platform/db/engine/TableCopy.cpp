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

} // namespace

const std::vector<std::uint32_t> &ColumnInMemory::allRowsInOrder() const
{
    if (rowsInOrder.size() != copy.rows()) {
        rowsInOrder.resize(copy.rows());
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
    std::optional<ColumnCopy> layout = describeTable(db, table, why);
    if (!layout)
        return nullptr;
    std::unique_ptr<TableCopy> made(new TableCopy(db, table, std::move(*layout), budgetBytes));
    made->rowidName_ = rowidNameOf(db, table, made->layout_);
    if (made->rowidName_.empty()) {
        *why = "it has no rowid to read its rows by";
        return nullptr;
    }
    return made;
}

std::size_t TableCopy::bytesInMemory() const
{
    std::size_t sum = rowids_.size() * sizeof(sqlite3_int64);
    for (const SharedColumn &c : columns_)
        sum += c ? bytesOf(c->copy) : 0;
    return sum;
}

bool TableCopy::columns(std::uint64_t used, std::vector<SharedColumn> *columns)
{
    const auto isUsed = [used](std::size_t i) { return (used >> std::min<std::size_t>(i, 63)) & 1; };
    columns->assign(columns_.size(), nullptr);
    std::size_t pinned = rowids_.size() * sizeof(sqlite3_int64);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (isUsed(i) && columns_[i]) {
            (*columns)[i] = columns_[i];
            pinned += bytesOf(columns_[i]->copy);
        }
    }
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!isUsed(i))
            continue;
        if (!columns_[i]) {
            std::vector<sqlite3_int64> rowids;
            std::optional<CopiedColumn> made =
                copyColumn(db_, table_, layout_.columns[i], rowidName_, layout_.rows,
                           budgetBytes_ - std::min(pinned, budgetBytes_), rowidsKnown_ ? nullptr : &rowids);
            if (!made)
                return false;
            if (!rowidsKnown_) {
                rowidsKnown_ = true;
                std::size_t row = 0;
                if (!std::all_of(rowids.begin(), rowids.end(), [&](sqlite3_int64 id) { return id == sqlite3_int64(++row); }))
                    rowids_ = std::move(rowids);
                pinned += rowids_.size() * sizeof(sqlite3_int64);
            }
            pinned += bytesOf(*made);
            columns_[i] = std::make_shared<const ColumnInMemory>(std::move(*made));
            (*columns)[i] = columns_[i];
        }
        std::erase(leastRecentlyUsed_, i);
        leastRecentlyUsed_.push_back(i);
    }
    for (auto at = leastRecentlyUsed_.begin(); at != leastRecentlyUsed_.end() && bytesInMemory() > budgetBytes_;) {
        if (isUsed(*at)) {
            ++at;
            continue;
        }
        columns_[*at].reset();
        at = leastRecentlyUsed_.erase(at);
    }
    return true;
}

} // namespace platform::db
