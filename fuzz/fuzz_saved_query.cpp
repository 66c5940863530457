// A saved query's rows of MSysQueries (see FuzzInput.h) rebuilt as a SELECT
// and made into a view over a few tables, as a file's queries are. Refusing
// the query is fine; a crash, or any attempt to reach beyond the copy
// (attaching a database), is not.

#include "fuzz/SavedQueryBytes.h"
#include "platform/db/jet/JetSqlLexer.h"
#include "platform/db/jet/SavedQueryViews.h"
#include "platform/db/engine/SqlNames.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>

namespace {

int refuseReachingOut(void *, int action, const char *, const char *, const char *, const char *)
{
    if (action == SQLITE_ATTACH || action == SQLITE_DETACH)
        std::abort();
    return SQLITE_OK;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const platform::db::SavedQuery query =
        fuzz::decodeSavedQuery(std::string_view(reinterpret_cast<const char *>(data), size));
    try {
        platform::db::toSqliteSelect(query);
    } catch (const platform::db::UntranslatableQuery &) {
        return 0;
    } catch (const platform::db::UnquotableText &) {
        return 0;
    }
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_exec(db,
                 "CREATE TABLE longpcs (ID INTEGER, Description TEXT COLLATE NOCASE);"
                 "CREATE TABLE getalldata (ID INTEGER, pcs9 TEXT, Description TEXT, code TEXT);"
                 "CREATE TABLE t (a INTEGER, b REAL, s TEXT, d TEXT);",
                 nullptr, nullptr, nullptr);
    sqlite3_set_authorizer(db, refuseReachingOut, nullptr);
    platform::db::addSavedQueryViews(db, {query});
    sqlite3_close(db);
    return 0;
}
