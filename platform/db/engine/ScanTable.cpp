#include "platform/db/engine/ScanTable.h"

#include "platform/db/engine/CaseInsensitiveText.h"
#include "platform/db/engine/ColumnCopy.h"
#include "platform/db/engine/TableCopy.h"
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

struct ScanTable : sqlite3_vtab {
    std::shared_ptr<TableCopy> table;
};

// What the module keeps per connection: the copies made, so that SQLite
// reconnecting to a table (after re-reading its temp schema) does not copy it
// again.
struct ScanModule {
    std::size_t budgetBytes;
    std::map<std::string, std::shared_ptr<TableCopy>> copies;
};

thread_local int declaring = 0; // connections declaring a scan table right now, in this thread

struct LikeCondition {
    SharedColumn column;
    LikePattern pattern;
};

// SQL for the comparisons a plan may hand on to the table itself, by
// SQLITE_INDEX_CONSTRAINT_* code.
const char *comparisonOf(unsigned char op)
{
    static const std::pair<unsigned char, const char *> comparisons[] = {
        {SQLITE_INDEX_CONSTRAINT_EQ, "="},  {SQLITE_INDEX_CONSTRAINT_GT, ">"},  {SQLITE_INDEX_CONSTRAINT_LE, "<="},
        {SQLITE_INDEX_CONSTRAINT_LT, "<"},  {SQLITE_INDEX_CONSTRAINT_GE, ">="}, {SQLITE_INDEX_CONSTRAINT_NE, "<>"},
        {SQLITE_INDEX_CONSTRAINT_IS, "IS"}, {SQLITE_INDEX_CONSTRAINT_ISNOT, "IS NOT"}};
    for (const auto &[code, sql] : comparisons) {
        if (code == op)
            return sql;
    }
    return nullptr;
}

// A comparison that picks rows by value: the table's index finds them.
bool isEquality(unsigned char op)
{
    return op == SQLITE_INDEX_CONSTRAINT_EQ || op == SQLITE_INDEX_CONSTRAINT_IS;
}

struct ScanCursor : sqlite3_vtab_cursor {
    std::size_t row = 0;
    std::vector<LikeCondition> conditions;
    // For a plan that hands SQLite its rows sorted: the matching rows in that
    // order, and the place in it.
    bool sorted = false;
    std::vector<std::uint32_t> sortedMatches;
    std::size_t position = 0;
    // For a plan that reads the table itself: its statement, stepped on, and
    // kept for the next filter with the same comparisons (a join filters
    // once for every row of the other table).
    bool readingTable = false;
    SqliteStatement throughTable;
    std::string throughTableSql;
    bool throughTableDone = false;
    // For a plan that scans the copy: the columns the statement uses.
    std::vector<SharedColumn> columns;

    TableCopy &table() const { return *static_cast<const ScanTable *>(pVtab)->table; }
    std::size_t rows() const { return table().rows(); }

    int fail(int rc, const char *message) const
    {
        sqlite3_free(pVtab->zErrMsg);
        pVtab->zErrMsg = sqlite3_mprintf("%s", message);
        return rc;
    }

    // Finds every match in table order, fast, then puts them in the column's
    // order: by sorting them when few, by picking them out of the table's
    // rows in order when many (the empty search's every row).
    void collectSortedMatches(const ColumnInMemory &column)
    {
        sortedMatches.clear();
        position = 0;
        for (advanceToMatch(); row < rows(); ++row, advanceToMatch())
            sortedMatches.push_back(std::uint32_t(row));
        if (sortedMatches.size() * 8 < rows()) {
            sortRows(column.copy, sortedMatches);
        } else {
            std::vector<bool> matching(rows());
            for (const std::uint32_t match : sortedMatches)
                matching[match] = true;
            sortedMatches.clear();
            for (const std::uint32_t candidate : column.allRowsInOrder()) {
                if (matching[candidate])
                    sortedMatches.push_back(candidate);
            }
        }
        row = sortedMatches.empty() ? rows() : sortedMatches.front();
    }

    void nextSortedMatch()
    {
        ++position;
        row = position < sortedMatches.size() ? sortedMatches[position] : rows();
    }

    bool rowMatches() const
    {
        for (const LikeCondition &condition : conditions) {
            const CopiedColumn &column = condition.column->copy;
            if (column.typeAt(row) == SQLITE_NULL || !condition.pattern.matches(column.textAt(row)))
                return false;
        }
        return true;
    }

    // From the current row on, to the first that meets every condition.
    void advanceToMatch()
    {
        for (;; ++row) {
            skipRowsThatCannotMatch();
            if (row >= rows() || rowMatches())
                return;
        }
    }

    // Searching the whole column's text at once passes over the rows without
    // the first condition's letters far quicker than testing them one by one.
    void skipRowsThatCannotMatch()
    {
        if (row >= rows() || conditions.empty() || !conditions.front().pattern.canSkipAhead())
            return;
        const CopiedColumn &column = conditions.front().column->copy;
        const std::size_t possible = conditions.front().pattern.nextPossibleMatch(column.bytes, column.offsetAt(row));
        while (row < rows() && column.offsetAt(row) + column.sizeAt(row) <= possible)
            ++row;
    }

    int stepThroughTable()
    {
        const int rc = sqlite3_step(throughTable.get());
        throughTableDone = rc != SQLITE_ROW;
        return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : fail(rc, sqlite3_errmsg(table().database()));
    }

    // Reads the table itself with the comparisons the plan handed on
    // ("column:operator ..." in idxStr, their values in argv).
    int startThroughTable(const char *comparisons, int argc, sqlite3_value **argv)
    {
        const TableCopy &copy = table();
        // Without a comparison, in the table's own order, as a scan of the copy.
        std::string sql = "SELECT *, " + copy.rowidName() + " FROM main." + quotedName(copy.table())
                          + (argc ? "" : " NOT INDEXED");
        const char *at = comparisons;
        for (int i = 0; i < argc; ++i) {
            char *end = nullptr;
            const auto column = std::size_t(std::strtol(at, &end, 10));
            const auto op = static_cast<unsigned char>(std::strtol(end + 1, &end, 10));
            at = end;
            sql += std::string(i ? " AND " : " WHERE ") + quotedName(copy.layout()[column].name) + ' '
                   + comparisonOf(op) + " ?" + std::to_string(i + 1);
        }
        if (sql != throughTableSql) {
            sqlite3_stmt *raw = nullptr;
            throughTableSql.clear();
            if (sqlite3_prepare_v2(copy.database(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
                return fail(SQLITE_ERROR, sqlite3_errmsg(copy.database()));
            throughTable.reset(raw);
            throughTableSql = sql;
        }
        sqlite3_reset(throughTable.get());
        for (int i = 0; i < argc; ++i)
            sqlite3_bind_value(throughTable.get(), i + 1, argv[i]);
        return stepThroughTable();
    }
};

std::string tableDeclaration(const std::vector<CopiedColumn> &columns)
{
    std::string sql = "CREATE TABLE x(";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const CopiedColumn &column = columns[i];
        sql += (i ? ", " : "") + quotedName(column.name) + ' ' + column.declaredType + " COLLATE "
               + quotedName(column.collation);
    }
    return sql + ')';
}

int declare(sqlite3 *db, const TableCopy &copy)
{
    ++declaring;
    const int rc = sqlite3_declare_vtab(db, tableDeclaration(copy.layout()).c_str());
    --declaring;
    return rc;
}

int connect(sqlite3 *db, void *moduleData, int, const char *const *argv, sqlite3_vtab **out, char **error)
{
    auto *module = static_cast<ScanModule *>(moduleData);
    const std::string name = argv[2];
    std::shared_ptr<TableCopy> &copied = module->copies[name];
    if (!copied) {
        std::string why;
        copied = TableCopy::make(db, name, module->budgetBytes, &why);
        if (!copied) {
            module->copies.erase(name);
            *error = sqlite3_mprintf("%s", why.c_str());
            return SQLITE_ERROR;
        }
    }
    const int rc = declare(db, *copied);
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
int sortableColumn(const std::vector<SharedColumn> &columns, const sqlite3_index_info *info)
{
    if (info->nOrderBy != 1 || info->aOrderBy[0].desc)
        return -1;
    const int column = info->aOrderBy[0].iColumn;
    const SharedColumn inMemory = column < 0 ? nullptr : columns[std::size_t(column)];
    if (!inMemory || !inMemory->copy.textOrNull || sqlite3_stricmp(inMemory->copy.collation.c_str(), "NOCASE") != 0)
        return -1;
    return column;
}

// Rows found by comparison are read through the table itself, whose indexes
// find them: a procedure by its ID is one step, not a pass over a copied
// column; and so is every row when the columns a statement uses do not fit
// the copy's budget. The comparisons go on as written ("column:operator "
// in idxStr, idxNum -1); SQLite checks them again.
int planThroughTable(const TableCopy &copy, sqlite3_index_info *info)
{
    std::string comparisons;
    int taken = 0;
    bool equality = false;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &constraint = info->aConstraint[i];
        if (!constraint.usable || constraint.iColumn < 0 || !comparisonOf(constraint.op)
            || sqlite3_stricmp(sqlite3_vtab_collation(info, i),
                               copy.layout()[std::size_t(constraint.iColumn)].collation.c_str())
                   != 0)
            continue;
        info->aConstraintUsage[i].argvIndex = ++taken;
        comparisons += std::to_string(constraint.iColumn) + ':' + std::to_string(constraint.op) + ' ';
        equality = equality || isEquality(constraint.op);
    }
    info->idxNum = -1;
    info->idxStr = sqlite3_mprintf("%s", comparisons.c_str());
    info->needToFreeIdxStr = 1;
    if (!info->idxStr)
        return SQLITE_NOMEM;
    const double rows = static_cast<double>(copy.rows()) + 1;
    info->estimatedCost = equality ? 10 : rows;
    info->estimatedRows = static_cast<sqlite3_int64>(equality ? 10 : rows);
    return SQLITE_OK;
}

bool hasUsableEquality(const sqlite3_index_info *info)
{
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &constraint = info->aConstraint[i];
        if (constraint.usable && constraint.iColumn >= 0 && isEquality(constraint.op))
            return true;
    }
    return false;
}

// Takes every usable LIKE on a column holding only text (or Null), and an
// ORDER BY it can answer, when the columns the statement uses are copied;
// idxStr holds the columns used (colUsed), then the LIKE columns in the order
// their patterns arrive in xFilter, idxNum is the sorting column + 1 (0: none).
int bestIndex(sqlite3_vtab *vtab, sqlite3_index_info *info)
{
    TableCopy &copy = *static_cast<ScanTable *>(vtab)->table;
    std::vector<SharedColumn> columns;
    if (info->colUsed == 0 || hasUsableEquality(info) || !copy.columns(info->colUsed, &columns))
        return planThroughTable(copy, info);
    std::string idxStr = std::to_string(info->colUsed) + ' ';
    int taken = 0;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &constraint = info->aConstraint[i];
        if (!constraint.usable || constraint.op != SQLITE_INDEX_CONSTRAINT_LIKE || constraint.iColumn < 0
            || !columns[std::size_t(constraint.iColumn)]->copy.textOrNull)
            continue;
        info->aConstraintUsage[i].argvIndex = ++taken;
        info->aConstraintUsage[i].omit = 1;
        idxStr += std::to_string(constraint.iColumn) + ' ';
    }
    const int sortColumn = sortableColumn(columns, info);
    info->orderByConsumed = sortColumn >= 0;
    info->idxNum = sortColumn + 1;
    info->idxStr = sqlite3_mprintf("%s", idxStr.c_str());
    info->needToFreeIdxStr = 1;
    if (!info->idxStr)
        return SQLITE_NOMEM;
    // Every plan reads every row; one that tests the text here reads it faster.
    const double rows = static_cast<double>(copy.rows()) + 1;
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
    cursor->readingTable = sortColumnPlusOne < 0;
    if (cursor->readingTable)
        return cursor->startThroughTable(columns, argc, argv);
    TableCopy &copy = cursor->table();
    char *at = nullptr;
    // Columns may have given way to another statement's since the plan was made.
    if (!copy.columns(std::strtoull(columns, &at, 10), &cursor->columns))
        return cursor->fail(SQLITE_ERROR, "a column could not be copied again");
    for (int i = 0; i < argc; ++i) {
        char *end = nullptr;
        const int index = static_cast<int>(std::strtol(at, &end, 10));
        at = end;
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            cursor->row = copy.rows(); // LIKE Null holds for no row
            return SQLITE_OK;
        }
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[i]));
        const int size = sqlite3_value_bytes(argv[i]);
        if (!text)
            return SQLITE_NOMEM;
        if (size > kLongestLikePattern)
            return cursor->fail(SQLITE_ERROR, kPatternTooComplex);
        cursor->conditions.push_back(
            {cursor->columns[std::size_t(index)], LikePattern(std::string_view(text, std::size_t(size)))});
    }
    cursor->sorted = sortColumnPlusOne > 0;
    if (cursor->sorted) {
        cursor->collectSortedMatches(*cursor->columns[std::size_t(sortColumnPlusOne - 1)]);
    } else {
        cursor->advanceToMatch();
    }
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor *base)
{
    auto *cursor = static_cast<ScanCursor *>(base);
    if (cursor->readingTable)
        return cursor->stepThroughTable();
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
    return cursor->readingTable ? cursor->throughTableDone : cursor->row >= cursor->rows();
}

int column(sqlite3_vtab_cursor *base, sqlite3_context *context, int index)
{
    auto *cursor = static_cast<ScanCursor *>(base);
    if (cursor->readingTable) {
        sqlite3_result_value(context, sqlite3_column_value(cursor->throughTable.get(), index));
        return SQLITE_OK;
    }
    const SharedColumn &inMemory = cursor->columns[std::size_t(index)];
    if (!inMemory) { // a column the statement said it would not use
        sqlite3_result_null(context);
        return SQLITE_OK;
    }
    const CopiedColumn &column = inMemory->copy;
    const std::size_t row = cursor->row;
    // The copy does not change while the table exists: SQLite may read it in
    // place, for as long as the statement keeps this row.
    switch (column.typeAt(row)) {
    case SQLITE_INTEGER:
        sqlite3_result_int64(context, column.integerAt(row));
        break;
    case SQLITE_FLOAT:
        sqlite3_result_double(context, column.realAt(row));
        break;
    case SQLITE_TEXT:
        sqlite3_result_text64(context, column.bytes.data() + column.offsetAt(row), column.sizeAt(row), SQLITE_STATIC,
                              SQLITE_UTF8);
        break;
    case SQLITE_BLOB:
        sqlite3_result_blob64(context, column.bytes.data() + column.offsetAt(row), column.sizeAt(row), SQLITE_STATIC);
        break;
    default:
        sqlite3_result_null(context);
        break;
    }
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor *base, sqlite3_int64 *out)
{
    const auto *cursor = static_cast<ScanCursor *>(base);
    *out = cursor->readingTable ? sqlite3_column_int64(cursor->throughTable.get(), int(cursor->table().layout().size()))
                                : cursor->table().rowidAt(cursor->row);
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
