#include "platform/db/engine/QueryRules.h"

#include "platform/db/engine/CaseInsensitiveText.h"
#include "platform/db/engine/ConnectionRules.h"
#include "platform/db/engine/ScanTable.h"

#include <QString>

#include <string_view>

namespace platform::db {
namespace {

// Longest value a statement may build; the longest Memo fits many times over.
constexpr int kLongestValue = 64 << 20;

std::string_view viewOf(sqlite3_value *value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return {text ? text : "", static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

int compareNoCase(void *, int sizeA, const void *a, int sizeB, const void *b)
{
    return compareIgnoringCase({static_cast<const char *>(a), static_cast<std::size_t>(sizeA)},
                               {static_cast<const char *>(b), static_cast<std::size_t>(sizeB)});
}

// like(pattern, text [, escape]) as SQLite calls it for "text LIKE pattern".
void like(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return; // NULL result
    }
    const std::string_view pattern = viewOf(argv[0]);
    if (pattern.size() > kLongestLikePattern) {
        sqlite3_result_error(context, kPatternTooComplex, -1);
        return;
    }
    char32_t escape = 0;
    if (argc == 3) {
        const std::string_view e = viewOf(argv[2]);
        const std::u32string escapeText = QString::fromUtf8(e.data(), qsizetype(e.size())).toStdU32String();
        if (escapeText.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = escapeText[0];
    }
    // The pattern is compiled once per statement and kept with its argument.
    auto *compiled = static_cast<LikePattern *>(sqlite3_get_auxdata(context, 0));
    if (!compiled) {
        compiled = new LikePattern(pattern, escape);
        sqlite3_set_auxdata(context, 0, compiled, [](void *p) { delete static_cast<LikePattern *>(p); });
        compiled = static_cast<LikePattern *>(sqlite3_get_auxdata(context, 0));
        if (!compiled) {
            sqlite3_result_error_nomem(context);
            return;
        }
    }
    sqlite3_result_int(context, compiled->matches(viewOf(argv[1])) ? 1 : 0);
}

} // namespace

int applyQueryRules(sqlite3 *db, std::optional<std::size_t> scanTableBudget)
{
    sqlite3_hard_heap_limit64(kStatementHeapLimit);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kLongestValue);
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, kLongestLikePattern);

    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    int rc = sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, compareNoCase, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "like", 2, flags, nullptr, like, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "like", 3, flags, nullptr, like, nullptr, nullptr, nullptr);
    // Sorting big results stays in memory: nothing is written anywhere. The
    // copy already lies in memory, so pages are read where they lie instead of
    // being copied into a page cache on every scan.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA temp_store=MEMORY; PRAGMA mmap_size=2147418112;", nullptr, nullptr, nullptr);
    // Scan tables live in the temp schema: after temp_store, whose change would
    // drop them, and before the connection is made read only.
    if (rc == SQLITE_OK)
        addScanTables(db, scanTableBudget);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA query_only=1;", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = restrictConnection(db, ConnectionUse::Reading);
    return rc;
}

} // namespace platform::db
