#include "platform/db/engine/ScanTable.h"

#include "platform/db/engine/CaseInsensitiveText.h"
#include "platform/db/engine/ColumnCopy.h"
#include "platform/db/engine/ColumnOrder.h"
#include "platform/db/engine/QueryRules.h"
#include "platform/db/engine/SqlNames.h"
#include "platform/db/engine/SqliteHandle.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace platform::db {
namespace {

constexpr const char *kModuleName = "vorimel_scan";

// A table's copy, and its rows in the order of each text column once a large
// sorted result has asked for it: sorting once spares every later statement.
struct CopiedTable {
    explicit CopiedTable(ColumnCopy made) : copy(std::move(made)), rowsInOrder(copy.columns.size()) {}

    const std::vector<std::uint32_t> &allRowsInOrder(int column)
    {
        std::vector<std::uint32_t> &rows = rowsInOrder[std::size_t(column)];
        if (rows.size() != copy.rows) {
            rows.resize(copy.rows);
            for (std::size_t i = 0; i < copy.rows; ++i)
                rows[i] = std::uint32_t(i);
            sortRows(copy.columns[std::size_t(column)], rows);
        }
        return rows;
    }

    const ColumnCopy copy;
    std::vector<std::vector<std::uint32_t>> rowsInOrder; // by column; empty until asked for
};

struct ScanTable : sqlite3_vtab {
    std::shared_ptr<CopiedTable> table;
};

// What the module keeps per connection: the copies made, so that SQLite
// reconnecting to a table (after re-reading its temp schema) does not copy it
// again.
struct ScanModule {
    std::size_t budgetBytes;
    std::map<std::string, std::shared_ptr<CopiedTable>> copies;
};

thread_local int declaring = 0; // connections declaring a scan table right now, in this thread

struct LikeCondition {
    int column;
    LikePattern pattern;
};

struct ScanCursor : sqlite3_vtab_cursor {
    std::size_t row = 0;
    std::vector<LikeCondition> conditions;
    // For a plan that hands SQLite its rows sorted: the matching rows in that
    // order, and the place in it.
    bool sorted = false;
    std::vector<std::uint32_t> sortedMatches;
    std::size_t position = 0;

    CopiedTable &table() const { return *static_cast<const ScanTable *>(pVtab)->table; }
    const ColumnCopy &copy() const { return table().copy; }

    // Finds every match in table order, fast, then puts them in the column's
    // order: by sorting them when few, by picking them out of the table's
    // rows in order when many (the empty search's every row).
    void collectSortedMatches(int column)
    {
        sortedMatches.clear();
        position = 0;
        const std::size_t rows = copy().rows;
        for (advanceToMatch(); row < rows; ++row, advanceToMatch())
            sortedMatches.push_back(std::uint32_t(row));
        if (sortedMatches.size() * 8 < rows) {
            sortRows(copy().columns[std::size_t(column)], sortedMatches);
        } else {
            std::vector<bool> matching(rows);
            for (const std::uint32_t match : sortedMatches)
                matching[match] = true;
            sortedMatches.clear();
            for (const std::uint32_t candidate : table().allRowsInOrder(column)) {
                if (matching[candidate])
                    sortedMatches.push_back(candidate);
            }
        }
        row = sortedMatches.empty() ? rows : sortedMatches.front();
    }

    void nextSortedMatch()
    {
        ++position;
        row = position < sortedMatches.size() ? sortedMatches[position] : copy().rows;
    }

    bool rowMatches() const
    {
        for (const LikeCondition &condition : conditions) {
            const CopiedColumn &column = copy().columns[condition.column];
            if (column.values[row].type == SQLITE_NULL || !condition.pattern.matches(column.textAt(row)))
                return false;
        }
        return true;
    }

    // From the current row on, to the first that meets every condition.
    void advanceToMatch()
    {
        const std::size_t rows = copy().rows;
        for (;; ++row) {
            skipRowsThatCannotMatch();
            if (row >= rows || rowMatches())
                return;
        }
    }

    // Searching the whole column's text at once passes over the rows without
    // the first condition's letters far quicker than testing them one by one.
    void skipRowsThatCannotMatch()
    {
        const std::size_t rows = copy().rows;
        if (row >= rows || conditions.empty() || !conditions.front().pattern.canSkipAhead())
            return;
        const CopiedColumn &column = copy().columns[conditions.front().column];
        const std::size_t possible = conditions.front().pattern.nextPossibleMatch(column.bytes, column.values[row].offset);
        while (row < rows && column.values[row].offset + column.values[row].size <= possible)
            ++row;
    }
};

std::string tableDeclaration(const ColumnCopy &copy)
{
    std::string sql = "CREATE TABLE x(";
    for (std::size_t i = 0; i < copy.columns.size(); ++i) {
        const CopiedColumn &column = copy.columns[i];
        sql += (i ? ", " : "") + quotedName(column.name) + ' ' + column.declaredType + " COLLATE "
               + quotedName(column.collation);
    }
    return sql + ')';
}

int declare(sqlite3 *db, const ColumnCopy &copy)
{
    ++declaring;
    const int rc = sqlite3_declare_vtab(db, tableDeclaration(copy).c_str());
    --declaring;
    return rc;
}

int connect(sqlite3 *db, void *moduleData, int, const char *const *argv, sqlite3_vtab **out, char **error)
{
    auto *module = static_cast<ScanModule *>(moduleData);
    const std::string name = argv[2];
    std::shared_ptr<CopiedTable> &copied = module->copies[name];
    if (!copied) {
        std::string why;
        std::optional<ColumnCopy> made = copyColumns(db, name, module->budgetBytes, &why);
        if (!made) {
            module->copies.erase(name);
            *error = sqlite3_mprintf("%s", why.c_str());
            return SQLITE_ERROR;
        }
        copied = std::make_shared<CopiedTable>(std::move(*made));
    }
    const int rc = declare(db, copied->copy);
    if (rc != SQLITE_OK)
        return rc;
    sqlite3_vtab_config(db, SQLITE_VTAB_INNOCUOUS);
    auto *table = new ScanTable{};
    table->table = copied;
    *out = table;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab *table)
{
    delete static_cast<ScanTable *>(table);
    return SQLITE_OK;
}

// An ORDER BY on one column of text (or Null) with the case-blind collation,
// ascending: the scan can hand SQLite the rows in that order. SQLite offers
// an ORDER BY only when its collation is the column's own.
int sortableColumn(const ColumnCopy &copy, const sqlite3_index_info *info)
{
    if (info->nOrderBy != 1 || info->aOrderBy[0].desc)
        return -1;
    const int column = info->aOrderBy[0].iColumn;
    if (column < 0 || !copy.columns[std::size_t(column)].textOrNull
        || sqlite3_stricmp(copy.columns[std::size_t(column)].collation.c_str(), "NOCASE") != 0)
        return -1;
    return column;
}

// Takes every usable LIKE on a column holding only text (or Null), and an
// ORDER BY it can answer; idxStr lists the LIKE columns in the order their
// patterns arrive in xFilter, idxNum is the sorting column + 1 (0: none).
int bestIndex(sqlite3_vtab *vtab, sqlite3_index_info *info)
{
    const ColumnCopy &copy = static_cast<ScanTable *>(vtab)->table->copy;
    std::string columns;
    int taken = 0;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &constraint = info->aConstraint[i];
        if (!constraint.usable || constraint.op != SQLITE_INDEX_CONSTRAINT_LIKE || constraint.iColumn < 0
            || !copy.columns[constraint.iColumn].textOrNull)
            continue;
        info->aConstraintUsage[i].argvIndex = ++taken;
        info->aConstraintUsage[i].omit = 1;
        columns += std::to_string(constraint.iColumn) + ' ';
    }
    const int sortColumn = sortableColumn(copy, info);
    info->orderByConsumed = sortColumn >= 0;
    info->idxNum = sortColumn + 1;
    info->idxStr = sqlite3_mprintf("%s", columns.c_str());
    info->needToFreeIdxStr = 1;
    if (!info->idxStr)
        return SQLITE_NOMEM;
    // Every plan reads every row; one that tests the text here reads it faster.
    const double rows = static_cast<double>(copy.rows) + 1;
    info->estimatedCost = taken ? rows / 4 : rows;
    info->estimatedRows = static_cast<sqlite3_int64>(taken ? rows / 4 : rows);
    return SQLITE_OK;
}

int open(sqlite3_vtab *, sqlite3_vtab_cursor **out)
{
    *out = new ScanCursor{};
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor *cursor)
{
    delete static_cast<ScanCursor *>(cursor);
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor *base, int sortColumnPlusOne, const char *columns, int argc, sqlite3_value **argv)
{
    auto *cursor = static_cast<ScanCursor *>(base);
    cursor->conditions.clear();
    cursor->row = 0;
    cursor->sorted = false;
    const char *at = columns;
    for (int i = 0; i < argc; ++i) {
        char *end = nullptr;
        const int column = static_cast<int>(std::strtol(at, &end, 10));
        at = end;
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            cursor->row = cursor->copy().rows; // LIKE Null holds for no row
            return SQLITE_OK;
        }
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[i]));
        const int size = sqlite3_value_bytes(argv[i]);
        if (!text)
            return SQLITE_NOMEM;
        if (size > kLongestLikePattern) {
            sqlite3_free(base->pVtab->zErrMsg);
            base->pVtab->zErrMsg = sqlite3_mprintf("%s", kPatternTooComplex);
            return SQLITE_ERROR;
        }
        cursor->conditions.push_back({column, LikePattern(std::string_view(text, std::size_t(size)))});
    }
    cursor->sorted = sortColumnPlusOne > 0;
    if (cursor->sorted)
        cursor->collectSortedMatches(sortColumnPlusOne - 1);
    else
        cursor->advanceToMatch();
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor *base)
{
    auto *cursor = static_cast<ScanCursor *>(base);
    if (cursor->sorted) {
        cursor->nextSortedMatch();
        return SQLITE_OK;
    }
    ++cursor->row;
    cursor->advanceToMatch();
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor *base)
{
    const auto *cursor = static_cast<ScanCursor *>(base);
    return cursor->row >= cursor->copy().rows;
}

int column(sqlite3_vtab_cursor *base, sqlite3_context *context, int index)
{
    const auto *cursor = static_cast<ScanCursor *>(base);
    const CopiedColumn &column = cursor->copy().columns[index];
    const CopiedValue &value = column.values[cursor->row];
    // The copy does not change while the table exists: SQLite may read it in place.
    switch (value.type) {
    case SQLITE_INTEGER:
        sqlite3_result_int64(context, value.integer);
        break;
    case SQLITE_FLOAT:
        sqlite3_result_double(context, value.real);
        break;
    case SQLITE_TEXT:
        sqlite3_result_text64(context, column.bytes.data() + value.offset, value.size, SQLITE_STATIC, SQLITE_UTF8);
        break;
    case SQLITE_BLOB:
        sqlite3_result_blob64(context, column.bytes.data() + value.offset, value.size, SQLITE_STATIC);
        break;
    default:
        sqlite3_result_null(context);
        break;
    }
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor *base, sqlite3_int64 *out)
{
    *out = static_cast<sqlite3_int64>(static_cast<ScanCursor *>(base)->row) + 1;
    return SQLITE_OK;
}

sqlite3_module makeModule()
{
    sqlite3_module module{}; // no xUpdate: read only
    module.xCreate = connect;
    module.xConnect = connect;
    module.xBestIndex = bestIndex;
    module.xDisconnect = disconnect;
    module.xDestroy = disconnect;
    module.xOpen = open;
    module.xClose = close;
    module.xFilter = filter;
    module.xNext = next;
    module.xEof = eof;
    module.xColumn = column;
    module.xRowid = rowid;
    return module;
}

const sqlite3_module kModule = makeModule();

std::vector<std::string> tablesOfMain(sqlite3 *db)
{
    std::vector<std::string> names;
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM main.sqlite_schema WHERE type = 'table' AND substr(name, 1, 7) <> 'sqlite_'",
                           -1, &raw, nullptr)
        != SQLITE_OK)
        return names;
    const SqliteStatement select(raw);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(raw, 0));
        if (name)
            names.emplace_back(name);
    }
    return names;
}

} // namespace

bool declaringScanTable()
{
    return declaring > 0;
}

std::size_t scanTableBudget(sqlite3 *db)
{
    const auto pragma = [db](const char *sql) {
        sqlite3_stmt *raw = nullptr;
        std::size_t value = 0;
        if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
            return value;
        const SqliteStatement statement(raw);
        if (sqlite3_step(raw) == SQLITE_ROW)
            value = static_cast<std::size_t>(std::max<sqlite3_int64>(0, sqlite3_column_int64(raw, 0)));
        return value;
    };
    const std::size_t databaseBytes = pragma("PRAGMA main.page_count") * pragma("PRAGMA main.page_size");
    return std::max(kScanTableBudget, databaseBytes / kScanTableShareOfDatabase);
}

std::vector<std::string> addScanTables(sqlite3 *db, std::optional<std::size_t> budgetBytes)
{
    std::vector<std::string> added;
    auto *module = new ScanModule{budgetBytes ? *budgetBytes : scanTableBudget(db), {}};
    if (sqlite3_create_module_v2(db, kModuleName, &kModule, module,
                                 [](void *p) { delete static_cast<ScanModule *>(p); })
        != SQLITE_OK)
        return added; // the module data went with the failed call
    for (const std::string &name : tablesOfMain(db)) {
        const std::string sql = "CREATE VIRTUAL TABLE temp." + quotedName(name) + " USING " + kModuleName;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK)
            added.push_back(name);
    }
    return added;
}

} // namespace platform::db
