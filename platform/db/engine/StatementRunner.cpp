#include "platform/db/engine/StatementRunner.h"

#include "platform/db/engine/QueryRules.h"
#include "platform/db/engine/SqliteHandle.h"
#include "platform/db/engine/UntranslatedQueries.h"

#include <chrono>
#include <string_view>

namespace platform::db {
namespace {

using Clock = std::chrono::steady_clock;

// Honest statements on the full database finish in well under a second and
// yield a few tens of megabytes; these bounds only stop runaway ones.
constexpr std::chrono::seconds kLongestRun{30};
constexpr qint64 kLargestResult = qint64(512) << 20;

[[noreturn]] void reject(const QString &reason, const QString &text)
{
    throw StatementRejected(QStringLiteral("The statement cannot be run: %1.\nStatement: %2").arg(reason, text));
}

bool isBlank(const char *from, const char *to)
{
    return std::string_view(from, std::size_t(to - from)).find_first_not_of(" \t\n\r\f\v") == std::string_view::npos;
}

int stopWhenLate(void *deadline)
{
    return Clock::now() > *static_cast<Clock::time_point *>(deadline) ? 1 : 0;
}

void appendValue(sqlite3_stmt *statement, int column, ResultRows &rows)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        rows.appendInteger(sqlite3_column_int64(statement, column));
        break;
    case SQLITE_FLOAT:
        rows.appendReal(sqlite3_column_double(statement, column));
        break;
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        rows.appendText(text, sqlite3_column_bytes(statement, column));
        break;
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(statement, column));
        rows.appendBlob(data, sqlite3_column_bytes(statement, column));
        break;
    }
    default:
        rows.appendNull();
    }
}

// The engine only knows that a name is missing; a saved query of the file
// that could not be offered is named with the reason.
QString whyPrepareFailed(sqlite3 *db)
{
    const QString complaint = QString::fromUtf8(sqlite3_errmsg(db));
    const QString missing = QStringLiteral("no such table: ");
    if (complaint.startsWith(missing)) {
        const QString name = complaint.mid(missing.size());
        if (const auto reason = whyQueryIsMissing(db, name.toStdString()))
            return QStringLiteral("the saved query %1 cannot be used: %2").arg(name, QString::fromStdString(*reason));
    }
    return complaint;
}

SqliteStatement prepare(sqlite3 *db, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), 0, &raw, &tail);
    SqliteStatement statement(raw);
    if (rc != SQLITE_OK)
        reject(whyPrepareFailed(db), text);
    if (!statement)
        reject(QStringLiteral("it is empty"), text);
    if (tail && !isBlank(tail, utf8.constData() + utf8.size()))
        reject(QStringLiteral("only one statement can be run at a time, and text follows the first one"), text);
    if (!sqlite3_stmt_readonly(statement.get()))
        reject(QStringLiteral("the database is open for reading only"), text);
    return statement;
}

} // namespace

StatementResult runStatement(sqlite3 *db, const QString &text)
{
    SqliteStatement statement = prepare(db, text);
    sqlite3_stmt *s = statement.get();

    StatementResult result;
    const int columns = sqlite3_column_count(s);
    for (int c = 0; c < columns; ++c)
        result.names << QString::fromUtf8(sqlite3_column_name(s, c));

    Clock::time_point deadline = Clock::now() + kLongestRun;
    sqlite3_progress_handler(db, 10000, stopWhenLate, &deadline);
    result.rows.setColumnCount(columns);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            appendValue(s, c, result.rows);
        result.rows.endRow();
        if (result.rows.heldBytes() > kLargestResult) {
            sqlite3_progress_handler(db, 0, nullptr, nullptr);
            reject(QStringLiteral("its result is larger than %1 MB").arg(kLargestResult >> 20), text);
        }
    }
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    if (rc == SQLITE_INTERRUPT)
        reject(QStringLiteral("it ran longer than %1 seconds").arg(kLongestRun.count()), text);
    if (rc == SQLITE_NOMEM)
        reject(QStringLiteral("it needs more than the %1 MB of memory a statement may use").arg(kStatementHeapLimit >> 20),
               text);
    if (rc != SQLITE_DONE)
        reject(QString::fromUtf8(sqlite3_errmsg(db)), text);
    return result;
}

} // namespace platform::db
