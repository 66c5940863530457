#include "platform/db/engine/ConnectionRules.h"

#include "platform/db/engine/ScanTable.h"

#include <cstring>

namespace platform::db {
namespace {

bool isReading(int action)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return true;
    default:
        return false;
    }
}

int authorizeReading(void *, int action, const char *, const char *, const char *, const char *)
{
    if (declaringScanTable())
        return SQLITE_OK; // our own fixed declaration, never a statement's text
    return isReading(action) ? SQLITE_OK : SQLITE_DENY;
}

bool is(const char *text, const char *expected)
{
    return text && std::strcmp(text, expected) == 0;
}

// The copy lives in main; temp and anything attached are out of reach, and
// nothing once made is changed or dropped. Making a table or view also
// updates SQLite's own schema table, and making an index fills it (REINDEX):
// defensive mode keeps statements from writing that schema table themselves.
int authorizeCopying(void *, int action, const char *object, const char *, const char *database, const char *)
{
    switch (action) {
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_VIEW:
    case SQLITE_INSERT:
    case SQLITE_REINDEX:
        return is(database, "main") ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_UPDATE:
        return is(database, "main") && (is(object, "sqlite_master") || is(object, "sqlite_schema")) ? SQLITE_OK
                                                                                                    : SQLITE_DENY;
    case SQLITE_PRAGMA:
        return is(object, "table_info") ? SQLITE_OK : SQLITE_DENY; // reads the columns, changes nothing
    case SQLITE_TRANSACTION:
        return SQLITE_OK;
    default:
        return isReading(action) ? SQLITE_OK : SQLITE_DENY;
    }
}

} // namespace

int restrictConnection(sqlite3 *db, ConnectionUse use)
{
    int rc = sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_enable_load_extension(db, 0);
    // A name in double quotes that names no column stays an error, never
    // turns into a text: a view means what its translation says.
    if (rc == SQLITE_OK)
        rc = sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    if (rc == SQLITE_OK)
        rc = sqlite3_set_authorizer(db, use == ConnectionUse::Reading ? authorizeReading : authorizeCopying, nullptr);
    return rc;
}

} // namespace platform::db
