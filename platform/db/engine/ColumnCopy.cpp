#include "platform/db/engine/ColumnCopy.h"

#include "platform/db/engine/SqliteHandle.h"
#include "platform/db/engine/SqlNames.h"

namespace platform::db {
namespace {

bool describeColumns(sqlite3 *db, sqlite3_stmt *select, const std::string &table, ColumnCopy &copy, std::string *why)
{
    const int count = sqlite3_column_count(select);
    for (int i = 0; i < count; ++i) {
        CopiedColumn column;
        const char *name = sqlite3_column_name(select, i);
        if (!name) {
            *why = "out of memory";
            return false;
        }
        column.name = name;
        const char *type = nullptr;
        const char *collation = nullptr;
        if (sqlite3_table_column_metadata(db, "main", table.c_str(), name, &type, &collation, nullptr, nullptr,
                                          nullptr)
            != SQLITE_OK) {
            *why = sqlite3_errmsg(db);
            return false;
        }
        column.declaredType = type ? type : "";
        column.collation = collation ? collation : "BINARY";
        copy.columns.push_back(std::move(column));
    }
    return true;
}

std::optional<std::size_t> rowCount(sqlite3 *db, const std::string &table)
{
    sqlite3_stmt *raw = nullptr;
    const std::string sql = "SELECT count(*) FROM main." + quotedName(table);
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        return std::nullopt;
    const SqliteStatement count(raw);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return std::nullopt;
    return static_cast<std::size_t>(sqlite3_column_int64(raw, 0));
}

CopiedValue copyValue(sqlite3_stmt *select, int i, CopiedColumn &column)
{
    CopiedValue value;
    value.type = sqlite3_column_type(select, i);
    switch (value.type) {
    case SQLITE_INTEGER:
        value.integer = sqlite3_column_int64(select, i);
        break;
    case SQLITE_FLOAT:
        value.real = sqlite3_column_double(select, i);
        break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const void *data = value.type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_column_text(select, i))
                                                     : sqlite3_column_blob(select, i);
        value.size = static_cast<std::uint32_t>(sqlite3_column_bytes(select, i));
        value.offset = column.bytes.size();
        if (value.size)
            column.bytes.append(static_cast<const char *>(data), value.size);
        break;
    }
    default:
        value.type = SQLITE_NULL;
        value.offset = column.bytes.size(); // keeps the offsets of a column in row order
        break;
    }
    column.textOrNull = column.textOrNull && (value.type == SQLITE_TEXT || value.type == SQLITE_NULL);
    return value;
}

} // namespace

std::optional<ColumnCopy> copyColumns(sqlite3 *db, const std::string &table, std::size_t budgetBytes,
                                      std::string *why)
{
    sqlite3_stmt *raw = nullptr;
    const std::string sql = "SELECT * FROM main." + quotedName(table);
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        *why = sqlite3_errmsg(db);
        return std::nullopt;
    }
    const SqliteStatement select(raw);
    ColumnCopy copy;
    if (!describeColumns(db, raw, table, copy, why))
        return std::nullopt;
    // Counting is quick next to copying: a table too large by its row count
    // alone is turned down before a byte is copied.
    const std::optional<std::size_t> rows = rowCount(db, table);
    if (!rows || *rows * copy.columns.size() * sizeof(CopiedValue) > budgetBytes) {
        *why = rows ? "larger than the copy budget" : sqlite3_errmsg(db);
        return std::nullopt;
    }
    for (CopiedColumn &column : copy.columns)
        column.values.reserve(*rows);

    std::size_t used = 0;
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        for (std::size_t i = 0; i < copy.columns.size(); ++i) {
            CopiedColumn &column = copy.columns[i];
            column.values.push_back(copyValue(raw, static_cast<int>(i), column));
            used += sizeof(CopiedValue) + column.values.back().size;
        }
        ++copy.rows;
        if (used > budgetBytes) {
            *why = "larger than the copy budget";
            return std::nullopt;
        }
    }
    if (rc != SQLITE_DONE) {
        *why = sqlite3_errmsg(db);
        return std::nullopt;
    }
    for (CopiedColumn &column : copy.columns) {
        column.bytes.shrink_to_fit();
    }
    return copy;
}

} // namespace platform::db
