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

SqliteStatement prepared(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    return SqliteStatement(raw);
}

// Copies what the statement reads, its columns from `first` on into columns,
// the first column's integers into *rowids when given. A first pass counts
// the bytes of each column's texts: a block grown as it fills would for a
// moment take twice its size, and the process's peak with it; and a copy
// past the budget is turned down before it is made.
bool copyRows(sqlite3_stmt *select, int first, std::vector<CopiedColumn> &columns, std::size_t rows,
              std::size_t budgetBytes, std::vector<sqlite3_int64> *rowids, std::string *why)
{
    std::vector<std::size_t> bytes(columns.size());
    std::size_t counted = 0;
    int rc;
    while ((rc = sqlite3_step(select)) == SQLITE_ROW && ++counted <= rows) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int type = sqlite3_column_type(select, first + int(i));
            if (type == SQLITE_TEXT || type == SQLITE_BLOB)
                bytes[i] += std::size_t(sqlite3_column_bytes(select, first + int(i)));
        }
    }
    std::size_t needed = rows * columns.size() * sizeof(CopiedValue);
    for (const std::size_t b : bytes)
        needed += b;
    // The copy is read only: rows other than counted would mean it is not the
    // table described.
    if (rc != SQLITE_DONE || counted != rows || needed > budgetBytes) {
        *why = rc != SQLITE_DONE && rc != SQLITE_ROW ? sqlite3_errstr(rc)
               : needed > budgetBytes               ? "larger than the copy budget"
                                                    : "its rows are not those counted";
        return false;
    }
    sqlite3_reset(select);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        columns[i].values.reserve(rows);
        columns[i].bytes.reserve(bytes[i]);
    }
    if (rowids)
        rowids->reserve(rows);
    while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            columns[i].values.push_back(copyValue(select, first + int(i), columns[i]));
        if (rowids)
            rowids->push_back(sqlite3_column_int64(select, 0));
    }
    if (rc != SQLITE_DONE || columns.front().values.size() != rows) {
        *why = rc != SQLITE_DONE ? sqlite3_errstr(rc) : "its rows are not those counted";
        return false;
    }
    return true;
}

} // namespace

std::size_t bytesOf(const CopiedColumn &column)
{
    return column.values.size() * sizeof(CopiedValue) + column.bytes.size();
}

std::optional<ColumnCopy> describeTable(sqlite3 *db, const std::string &table, std::string *why)
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
    const std::optional<std::size_t> rows = rowCount(db, table);
    if (!rows) {
        *why = sqlite3_errmsg(db);
        return std::nullopt;
    }
    copy.rows = *rows;
    return copy;
}

std::optional<ColumnCopy> copyColumns(sqlite3 *db, const std::string &table, std::size_t budgetBytes,
                                      std::string *why)
{
    std::optional<ColumnCopy> copy = describeTable(db, table, why);
    if (!copy)
        return std::nullopt;
    // Counting is quick next to copying: a table too large by its row count
    // alone is turned down before a byte is copied.
    if (copy->rows * copy->columns.size() * sizeof(CopiedValue) > budgetBytes) {
        *why = "larger than the copy budget";
        return std::nullopt;
    }
    const SqliteStatement select = prepared(db, "SELECT * FROM main." + quotedName(table));
    if (!select) {
        *why = sqlite3_errmsg(db);
        return std::nullopt;
    }
    if (!copyRows(select.get(), 0, copy->columns, copy->rows, budgetBytes, nullptr, why))
        return std::nullopt;
    return copy;
}

std::optional<CopiedColumn> copyColumn(sqlite3 *db, const std::string &table, const CopiedColumn &described,
                                       const std::string &rowid, std::size_t rows, std::size_t budgetBytes,
                                       std::vector<sqlite3_int64> *rowids)
{
    const SqliteStatement select = prepared(db, "SELECT " + quotedName(rowid) + ", " + quotedName(described.name)
                                                    + " FROM main." + quotedName(table));
    std::vector<CopiedColumn> columns{{described.name, described.declaredType, described.collation, {}, {}, true}};
    std::string why;
    if (!select || !copyRows(select.get(), 1, columns, rows, budgetBytes, rowids, &why))
        return std::nullopt;
    return std::move(columns.front());
}

} // namespace platform::db
