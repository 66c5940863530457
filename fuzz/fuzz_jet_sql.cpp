// Jet SQL text as a saved query's expression or a union query's statement.
// Translated text must parse as SQLite and be one statement; refusing it
// (UntranslatableQuery, or UnquotableText for a zero byte) is fine.

#include "platform/db/jet/JetSqlTranslator.h"
#include "platform/db/engine/SqlNames.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

sqlite3 *database()
{
    static sqlite3 *db = [] {
        sqlite3 *raw = nullptr;
        sqlite3_open(":memory:", &raw);
        return raw;
    }();
    return db;
}

// A translation may name columns and functions that do not exist; what it
// must never be is more than one statement.
void checkOneStatement(const std::string &sql)
{
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(database(), sql.c_str(), int(sql.size()), &statement, &tail) == SQLITE_OK) {
        sqlite3_finalize(statement);
        while (tail && (*tail == ' ' || *tail == ';' || *tail == '\n'))
            ++tail;
        if (tail && *tail)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    try {
        checkOneStatement("SELECT " + platform::db::translateJetExpression(text).sql);
    } catch (const platform::db::UntranslatableQuery &) {
    } catch (const platform::db::UnquotableText &) {
    }
    try {
        checkOneStatement(platform::db::translateJetSelect(text));
    } catch (const platform::db::UntranslatableQuery &) {
    } catch (const platform::db::UnquotableText &) {
    }
    return 0;
}
