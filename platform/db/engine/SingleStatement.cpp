#include "platform/db/engine/SingleStatement.h"

#include "platform/db/engine/SqliteHandle.h"

#include <limits>
#include <string>

namespace platform::db {
namespace {

// An empty statement is also refused: the text was built to hold one.
SqliteStatement prepareOnly(sqlite3 *db, std::string_view sql, std::string &complaint)
{
    if (sql.size() > std::size_t(std::numeric_limits<int>::max())) {
        complaint = "the statement is too long";
        return {};
    }
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), 0, &raw, &tail);
    SqliteStatement statement(raw);
    if (rc != SQLITE_OK)
        complaint = sqlite3_errmsg(db);
    else if (!statement)
        complaint = "the statement is empty";
    else if (tail != sql.data() + sql.size())
        complaint = "text follows the statement";
    return complaint.empty() ? std::move(statement) : SqliteStatement();
}

} // namespace

std::string checkSingleStatement(sqlite3 *db, std::string_view sql)
{
    std::string complaint;
    prepareOnly(db, sql, complaint);
    return complaint;
}

void runSingleStatement(sqlite3 *db, std::string_view sql)
{
    std::string complaint;
    const SqliteStatement statement = prepareOnly(db, sql, complaint);
    if (!statement)
        throw std::runtime_error(complaint);
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db));
}

} // namespace platform::db
