#include "platform/db/engine/UntranslatedQueries.h"

#include "platform/db/engine/SqlNames.h"
#include "platform/db/engine/SqliteHandle.h"

namespace platform::db {

std::optional<std::string> whyQueryIsMissing(sqlite3 *db, const std::string &name)
{
    const std::string sql = "SELECT reason FROM main." + quotedName(kUntranslatedQueries) + " WHERE name = ?1 COLLATE NOCASE";
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        return std::nullopt; // a copy without untranslated queries has no such table
    const SqliteStatement statement(raw);
    sqlite3_bind_text(raw, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return std::nullopt;
    const auto *reason = reinterpret_cast<const char *>(sqlite3_column_text(raw, 0));
    return std::string(reason ? reason : "");
}

} // namespace platform::db
