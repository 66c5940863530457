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


SqliteStatement prepared(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    return SqliteStatement(raw);
}

std::optional<std::size_t> rowCount(sqlite3 *db, const std::string &table)
{
    const SqliteStatement count = prepared(db, "SELECT count(*) FROM main." + quotedName(table));
    if (!count || sqlite3_step(count.get()) != SQLITE_ROW)
        return std::nullopt;
    return static_cast<std::size_t>(sqlite3_column_int64(count.get(), 0));
}

void appendValue(sqlite3_stmt *select, int i, CopiedColumn &column)
{
    const int type = sqlite3_column_type(select, i);
    std::uint64_t payload = std::uint64_t(column.bytes.size()) << 32; // a Null keeps the offsets in row order
    switch (type) {
    case SQLITE_INTEGER:
        payload = std::uint64_t(sqlite3_column_int64(select, i));
        break;
    case SQLITE_FLOAT:
        payload = std::bit_cast<std::uint64_t>(sqlite3_column_double(select, i));
        break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const void *data = type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_column_text(select, i))
                                               : sqlite3_column_blob(select, i);
        const auto size = std::uint32_t(sqlite3_column_bytes(select, i));
        payload |= size;
        if (size)
            column.bytes.append(static_cast<const char *>(data), size);
        break;
    }
    default:
        break;
    }
    column.types.push_back(std::uint8_t(type));
    column.payloads.push_back(payload);
    column.textOrNull = column.textOrNull && (type == SQLITE_TEXT || type == SQLITE_NULL);
}

} // namespace

std::size_t bytesOf(const CopiedColumn &column)
{
    return column.rows() * kBytesPerCopiedValue + column.bytes.size();
}

std::optional<ColumnCopy> describeTable(sqlite3 *db, const std::string &table, std::string *why)
{
    const SqliteStatement select = prepared(db, "SELECT * FROM main." + quotedName(table));
    ColumnCopy copy;
    const std::optional<std::size_t> rows = select ? rowCount(db, table) : std::nullopt;
    if (!select || !rows) {
        *why = sqlite3_errmsg(db);
        return std::nullopt;
    }
    if (!describeColumns(db, select.get(), table, copy, why))
        return std::nullopt;
    copy.rows = *rows;
    return copy;
}

std::optional<CopiedColumn> copyColumn(sqlite3 *db, const std::string &table, const CopiedColumn &described,
                                       const std::string &rowid, std::size_t rows, std::size_t budgetBytes,
                                       std::vector<sqlite3_int64> *rowids)
{
    // In the table's own order whatever index holds the column: every
    // column's copy lines up row for row.
    const SqliteStatement select = prepared(db, "SELECT " + quotedName(rowid) + ", " + quotedName(described.name)
                                                    + " FROM main." + quotedName(table) + " NOT INDEXED");
    if (!select)
        return std::nullopt;
    // A first pass counts the bytes of the texts: a block grown as it fills
    // would for a moment take twice its size, and the process's peak with it;
    // and a column past the budget is turned down before it is copied.
    std::size_t bytes = rows * (kBytesPerCopiedValue + (rowids ? sizeof(sqlite3_int64) : 0));
    std::size_t textBytes = 0;
    std::size_t counted = 0;
    int rc;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW && ++counted <= rows) {
        const int type = sqlite3_column_type(select.get(), 1);
        if (type == SQLITE_TEXT || type == SQLITE_BLOB)
            textBytes += std::size_t(sqlite3_column_bytes(select.get(), 1));
    }
    // The copy is read only: rows other than counted would mean it is not
    // the table described.
    if (rc != SQLITE_DONE || counted != rows || bytes + textBytes > budgetBytes || textBytes > 0xffffffffu)
        return std::nullopt;
    sqlite3_reset(select.get());
    CopiedColumn column{described.name, described.declaredType, described.collation, {}, {}, {}, true};
    column.types.reserve(rows);
    column.payloads.reserve(rows);
    column.bytes.reserve(textBytes);
    if (rowids)
        rowids->reserve(rows);
    while (column.rows() < rows && (rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        appendValue(select.get(), 1, column);
        if (rowids)
            rowids->push_back(sqlite3_column_int64(select.get(), 0));
    }
    if (column.rows() != rows || sqlite3_step(select.get()) != SQLITE_DONE)
        return std::nullopt;
    return column;
}

} // namespace platform::db
