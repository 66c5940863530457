#include "platform/db/jet/JetToSqlite.h"

#include "platform/db/jet/JetReader.h"
#include "platform/db/jet/JetSavedQueries.h"
#include "platform/db/jet/JetTableStream.h"
#include "platform/db/jet/SavedQueryViews.h"
#include "platform/db/engine/ConnectionRules.h"
#include "platform/db/engine/SingleStatement.h"
#include "platform/db/engine/SqlNames.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

namespace platform::db {
namespace {

const char *declaredType(JetValue::Kind kind)
{
    switch (kind) {
    case JetValue::Integer:
        return " INTEGER";
    case JetValue::Real:
        return " REAL";
    case JetValue::Text:
        return " TEXT COLLATE NOCASE";
    case JetValue::Blob:
        return " BLOB";
    case JetValue::Number:
        // Decimal text becomes an integer or a real where that loses nothing.
        return " NUMERIC";
    case JetValue::Null:
        break;
    }
    return "";
}

void execute(sqlite3 *db, const std::string &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

// Rows inserted by one statement: each statement's start and end cost about
// as much as a row, so a statement takes many rows at once.
constexpr std::size_t kRowsPerStatement = 64;

// One table's CREATE and its prepared INSERTs, for one row and for many.
class TableInserter {
public:
    TableInserter(sqlite3 *db, const std::string &name, const std::vector<JetColumn> &columns)
        : db_(db), table_(name), columns_(columns.size())
    {
        std::string create = "CREATE TABLE " + quotedName(name) + " (";
        std::string row = "(";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            create += (i ? ", " : "") + quotedName(columns[i].name) + declaredType(columns[i].kind);
            row += i ? ",?" : "?";
        }
        row += ")";
        try {
            runSingleStatement(db, create + ")");
        } catch (const std::runtime_error &e) {
            throw std::runtime_error("the table " + table_ + " cannot be copied: " + e.what());
        }
        const std::string insert = "INSERT INTO " + quotedName(name) + " VALUES ";
        insertOne_ = prepare(insert + row);
        // Within SQLite's smallest limit of parameters in a statement.
        rowsPerMany_ = columns_ ? std::min<std::size_t>(kRowsPerStatement, 999 / columns_) : 0;
        if (rowsPerMany_ > 1) {
            std::string many = insert + row;
            for (std::size_t i = 1; i < rowsPerMany_; ++i)
                many += "," + row;
            insertMany_ = prepare(many);
        }
    }

    void insert(const std::vector<JetValue> *rows, std::size_t count)
    {
        for (; insertMany_ && count >= rowsPerMany_; rows += rowsPerMany_, count -= rowsPerMany_) {
            for (std::size_t r = 0; r < rowsPerMany_; ++r)
                bind(insertMany_.get(), r * columns_, rows[r]);
            run(insertMany_.get());
        }
        for (; count > 0; ++rows, --count) {
            bind(insertOne_.get(), 0, *rows);
            run(insertOne_.get());
        }
    }

private:
    SqliteStatement prepare(const std::string &sql)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error("the table " + table_ + " cannot be copied: " + sqlite3_errmsg(db_));
        return SqliteStatement(statement);
    }

    static void bind(sqlite3_stmt *s, std::size_t first, const std::vector<JetValue> &values)
    {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const JetValue &v = values[i];
            const int at = static_cast<int>(first + i) + 1;
            switch (v.kind) {
            case JetValue::Null:
                sqlite3_bind_null(s, at);
                break;
            case JetValue::Integer:
                sqlite3_bind_int64(s, at, v.integer);
                break;
            case JetValue::Real:
                sqlite3_bind_double(s, at, v.real);
                break;
            case JetValue::Text:
            case JetValue::Number:
                sqlite3_bind_text64(s, at, v.bytes.data(), v.bytes.size(), SQLITE_STATIC, SQLITE_UTF8);
                break;
            case JetValue::Blob:
                sqlite3_bind_blob64(s, at, v.bytes.data(), v.bytes.size(), SQLITE_STATIC);
                break;
            }
        }
    }

    void run(sqlite3_stmt *s)
    {
        const int rc = sqlite3_step(s);
        sqlite3_reset(s);
        if (rc != SQLITE_DONE)
            throw std::runtime_error("a row of " + table_ + " cannot be copied: " + sqlite3_errmsg(db_));
    }

    sqlite3 *db_;
    std::string table_;
    std::size_t columns_;
    std::size_t rowsPerMany_ = 0;
    SqliteStatement insertOne_;
    SqliteStatement insertMany_;
};

// Every user table, read on a thread of its own while this one inserts.
void copyTables(sqlite3 *db, JetFile &file, const std::function<void()> &stillAlive)
{
    JetTableStream stream(file);
    std::optional<TableInserter> inserter;
    while (const JetRowBatch *batch = stream.next()) {
        if (batch->tableBegins) {
            inserter.reset();
            inserter.emplace(db, batch->tableName, batch->columns);
        }
        inserter->insert(batch->rows.data(), batch->count);
        stillAlive();
    }
}

int beatWhileBusy(void *stillAlive)
{
    (*static_cast<const std::function<void()> *>(stillAlive))();
    return 0; // go on
}

// The details of one procedure are read by its ID from getalldata, many
// thousand rows: an index turns that scan into a look-up. Only an aid: a file
// without that column, or one whose names clash with the index, loads without.
void addLookupIndexes(sqlite3 *db, const std::function<void()> &stillAlive)
{
    const char *hasColumn = "SELECT 1 FROM pragma_table_info('getalldata') WHERE lower(name) = 'id'";
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, hasColumn, -1, &raw, nullptr) != SQLITE_OK)
        return;
    const SqliteStatement check(raw);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return;
    // A file far larger than any honest one takes a while to index: keep the
    // heartbeat going meanwhile.
    sqlite3_progress_handler(db, 100000, beatWhileBusy, const_cast<std::function<void()> *>(&stillAlive));
    sqlite3_exec(db, "CREATE INDEX vorimel_getalldata_id ON getalldata(ID)", nullptr, nullptr, nullptr);
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    // An index that failed for want of memory takes the whole uncommitted
    // copy with it; say so, rather than fail later at the commit.
    if (sqlite3_get_autocommit(db))
        throw std::runtime_error(std::string("the copy was lost while indexing getalldata: ") + sqlite3_errmsg(db));
}

} // namespace

SqliteHandle copyJetFileToSqlite(std::string_view fileBytes, const std::function<void()> &stillAlive,
                                 std::span<unsigned char> storage)
{
    sqlite3 *raw = nullptr;
    // One thread fills the copy: SQLite need not lock around every call.
    const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    SqliteHandle db(raw);
    if (rc != SQLITE_OK)
        throw std::runtime_error("no memory for the copy of the database");
    // An empty database over the caller's memory: the pages are written there
    // and nowhere else, and the finished copy needs no serializing.
    if (!storage.empty()
        && sqlite3_deserialize(db.get(), "main", storage.data(), 0, static_cast<sqlite3_int64>(storage.size()), 0)
            != SQLITE_OK)
        throw std::runtime_error(std::string("no room for the copy of the database: ") + sqlite3_errmsg(db.get()));
    // user_version gives even a file without user tables a header page, so
    // the copy can be handed over like any other.
    // The loader may open no file once it is confined, so the sorter of a
    // large index must not spill to a temporary one.
    execute(db.get(), "PRAGMA page_size=65536; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
                      "PRAGMA temp_store=MEMORY; BEGIN; PRAGMA user_version=4");
    // From here on, names and expressions of the file are spliced into
    // statements: whatever they smuggle in stays within making the copy.
    if (const int rc = restrictConnection(db.get(), ConnectionUse::Copying); rc != SQLITE_OK)
        throw std::runtime_error(std::string("the copy cannot be restricted: ") + sqlite3_errstr(rc));

    JetFile file(fileBytes);
    stillAlive();
    copyTables(db.get(), file, stillAlive);
    addLookupIndexes(db.get(), stillAlive);
    addSavedQueryViews(db.get(), readSavedQueries(file), stillAlive);
    execute(db.get(), "COMMIT");
    return db;
}

} // namespace platform::db
