#include "platform/db/jet/SavedQueryViews.h"

#include "platform/db/jet/JetSqlLexer.h"
#include "platform/db/engine/SingleStatement.h"
#include "platform/db/engine/SqlNames.h"
#include "platform/db/engine/SqliteHandle.h"
#include "platform/db/engine/UntranslatedQueries.h"

#include <map>
#include <stdexcept>
#include <string>

namespace platform::db {
namespace {

// SQLite checks a view's names only when it is read: the SELECT is prepared
// on its own first. An empty result means the view stands, else SQLite's
// complaint. Either text must be one statement and nothing after it.
std::string tryCreateView(sqlite3 *db, const std::string &name, const std::string &select)
{
    if (std::string complaint = checkSingleStatement(db, select); !complaint.empty())
        return complaint;
    try {
        runSingleStatement(db, "CREATE VIEW " + quotedName(name) + " AS " + select);
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return {};
}

std::string reasonFor(const std::string &complaint,
                      const std::map<std::string, std::pair<std::string, std::string>> &refusedByKey,
                      const std::map<std::string, std::string> &pendingByKey)
{
    const std::string missingTable = "no such table: ";
    if (complaint.rfind(missingTable, 0) == 0) {
        std::string table = complaint.substr(missingTable.size());
        if (table.rfind("main.", 0) == 0)
            table = table.substr(5);
        const std::string key = lowerAscii(table);
        if (refusedByKey.count(key) || pendingByKey.count(key))
            return "it reads the query " + table + ", which cannot be used either";
        return "it reads " + table + ", which is neither a table nor a query of the file";
    }
    const std::string missingColumn = "no such column: ";
    if (complaint.rfind(missingColumn, 0) == 0)
        return "it names " + complaint.substr(missingColumn.size())
            + ", which is no column of the tables it reads (a parameter, perhaps)";
    return "its translation is refused: " + complaint;
}

bool isTableOfCopy(sqlite3 *db, const std::string &name)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM main.sqlite_schema WHERE type = 'table' AND name = ?1", -1, &raw, nullptr)
        != SQLITE_OK)
        return false;
    const SqliteStatement statement(raw);
    sqlite3_bind_text(raw, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    return sqlite3_step(raw) == SQLITE_ROW;
}

// The table a join names by its own name or by its alias in the query.
std::string tableBehind(const SavedQuery &q, const std::string &qualifier)
{
    for (const SavedQueryRow &row : q.rows) {
        if (row.attribute == SavedQueryRow::Table
            && lowerAscii(row.name2.empty() ? row.name1 : row.name2) == lowerAscii(qualifier))
            return row.name1;
    }
    return {};
}

// Joins match columns of two tables, usually without an index in the copy:
// SQLite would build a temporary one for every statement, holding and
// ordering whole rows, so that rows of one key came out in an order of
// their own values rather than the table's. An index on each column that a
// join compares (Table.Column = Table.Column) keeps the order of the table
// and the look-ups cheap.
void indexJoinColumns(sqlite3 *db, const SavedQuery &q)
{
    for (const SavedQueryRow &row : q.rows) {
        if (row.attribute != SavedQueryRow::Join)
            continue;
        std::vector<JetToken> t;
        try {
            t = tokenizeJetSql(row.expression);
        } catch (const UntranslatableQuery &) {
            continue;
        }
        const auto isName = [&](std::size_t i) {
            return i < t.size() && (t[i].kind == JetToken::Name || t[i].kind == JetToken::BracketedName);
        };
        const auto isSymbol = [&](std::size_t i, const char *s) {
            return i < t.size() && t[i].kind == JetToken::Symbol && t[i].text == s;
        };
        for (std::size_t i = 0; i + 6 < t.size(); ++i) {
            if (!(isName(i) && isSymbol(i + 1, ".") && isName(i + 2) && isSymbol(i + 3, "=") && isName(i + 4)
                  && isSymbol(i + 5, ".") && isName(i + 6)))
                continue;
            for (std::size_t side : {i, i + 4}) {
                const std::string table = tableBehind(q, t[side].text);
                const std::string &column = t[side + 2].text;
                if (table.empty() || !isTableOfCopy(db, table))
                    continue;
                try {
                    runSingleStatement(db, "CREATE INDEX IF NOT EXISTS " + quotedName("vorimel.join " + table + "." + column)
                                               + " ON " + quotedName(table) + "(" + quotedName(column) + ")");
                } catch (const std::runtime_error &) {
                    // only an aid: the view works without it
                }
            }
        }
    }
}

void recordRefused(sqlite3 *db, const std::map<std::string, std::pair<std::string, std::string>> &refused)
{
    if (refused.empty())
        return;
    const std::string table = quotedName(kUntranslatedQueries);
    runSingleStatement(db, "CREATE TABLE " + table + " (name TEXT, reason TEXT)");
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, ("INSERT INTO " + table + " VALUES (?1, ?2)").c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    const SqliteStatement insert(raw);
    for (const auto &[key, entry] : refused) {
        sqlite3_bind_text(raw, 1, entry.first.data(), static_cast<int>(entry.first.size()), SQLITE_STATIC);
        sqlite3_bind_text(raw, 2, entry.second.data(), static_cast<int>(entry.second.size()), SQLITE_STATIC);
        const int rc = sqlite3_step(raw);
        sqlite3_reset(raw);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
}

} // namespace

void addSavedQueryViews(sqlite3 *db, const std::vector<SavedQuery> &queries, const std::function<void()> &stillAlive)
{
    // Keyed by the lower-case name: name and reason.
    std::map<std::string, std::pair<std::string, std::string>> refused;
    std::map<std::string, std::string> pending; // key -> translated SELECT
    std::map<std::string, std::string> names;   // key -> name as written
    for (const SavedQuery &q : queries) {
        const std::string key = lowerAscii(q.name);
        names[key] = q.name;
        if (stillAlive)
            stillAlive();
        try {
            pending[key] = toSqliteSelect(q);
            indexJoinColumns(db, q);
        } catch (const UntranslatableQuery &e) {
            refused[key] = {q.name, e.what()};
        } catch (const UnquotableText &e) {
            refused[key] = {q.name, e.what()};
        }
    }
    // A query waits for the queries it reads: every round makes those whose
    // sources now exist, until a round makes none.
    std::map<std::string, std::string> complaints;
    for (bool progress = true; progress && !pending.empty();) {
        progress = false;
        for (auto it = pending.begin(); it != pending.end();) {
            if (stillAlive)
                stillAlive();
            const std::string complaint = tryCreateView(db, names[it->first], it->second);
            if (complaint.empty()) {
                it = pending.erase(it);
                progress = true;
            } else {
                complaints[it->first] = complaint;
                ++it;
            }
        }
    }
    for (const auto &[key, select] : pending) {
        (void)select;
        refused[key] = {names[key], reasonFor(complaints[key], refused, pending)};
    }
    recordRefused(db, refused);
}

} // namespace platform::db
