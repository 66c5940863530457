// The walls around the connection that builds the copy: tables, indexes and
// views in main, rows inserted there, reading, and nothing else; and SQL
// text built from a file runs as one statement or not at all.

#include "platform/db/engine/ConnectionRules.h"
#include "platform/db/engine/SingleStatement.h"
#include "platform/db/engine/SqlNames.h"
#include "platform/db/engine/SqliteHandle.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform::db;

namespace {

SqliteHandle openRestricted()
{
    sqlite3 *raw = nullptr;
    sqlite3_open(":memory:", &raw);
    SqliteHandle db(raw);
    if (restrictConnection(db.get(), ConnectionUse::Copying) != SQLITE_OK)
        qFatal("cannot restrict: %s", sqlite3_errmsg(db.get()));
    return db;
}

bool runs(sqlite3 *db, const std::string &sql)
{
    try {
        runSingleStatement(db, sql);
        return true;
    } catch (const std::runtime_error &) {
        return false;
    }
}

int schemaObjects(sqlite3 *db)
{
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema", -1, &raw, nullptr);
    const SqliteStatement statement(raw);
    return sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_int(raw, 0) : -1;
}

} // namespace

class DbConnectionRulesTest : public QObject {
    Q_OBJECT

private slots:
    void copyingMakesAndFillsMainOnly()
    {
        QTemporaryDir dir;
        const SqliteHandle db = openRestricted();
        for (const char *allowed : {"BEGIN", "CREATE TABLE t (x)", "INSERT INTO t VALUES (1)", "CREATE INDEX i ON t (x)",
                                    "CREATE VIEW v AS SELECT x FROM t", "SELECT * FROM v", "COMMIT"})
            QVERIFY2(runs(db.get(), allowed), allowed);
        const std::string attached = QDir(dir.path()).filePath("attached").toStdString();
        const std::vector<std::string> refusals{"ATTACH " + quotedText(attached) + " AS other", "CREATE TEMP TABLE u (x)",
                                                "DROP VIEW v", "DROP TABLE t", "UPDATE t SET x = 2", "DELETE FROM t",
                                                "ALTER TABLE t ADD y",
                                                "CREATE TRIGGER g AFTER INSERT ON t BEGIN SELECT 1; END",
                                                "PRAGMA writable_schema = 1", "UPDATE sqlite_master SET sql = ''", "SELECT load_extension('libm.so.6')"};
        for (const std::string &refused : refusals)
            QVERIFY2(!runs(db.get(), refused), refused.c_str());
        QVERIFY(QDir(dir.path()).isEmpty());
        QCOMPARE(schemaObjects(db.get()), 3);
    }

    void textAfterTheStatementIsRefusedUnrun()
    {
        const SqliteHandle db = openRestricted();
        QVERIFY(!runs(db.get(), "CREATE TABLE a (x); CREATE TABLE b (x)"));
        QVERIFY(!runs(db.get(), std::string("CREATE TABLE a (x)\0 CREATE TABLE b (x)", 38)));
        QVERIFY(!runs(db.get(), ""));
        QCOMPARE(schemaObjects(db.get()), 0);
        // A zero byte would end the text SQLite reads inside the quotes.
        QVERIFY_THROWS_EXCEPTION(UnquotableText, quotedName(std::string("a\0b", 3)));
        QVERIFY(!checkSingleStatement(db.get(), "SELECT 1; SELECT 2").empty());
        QVERIFY(checkSingleStatement(db.get(), "SELECT 1").empty());
        // A name in double quotes is no text, even where no such column exists.
        QVERIFY(!checkSingleStatement(db.get(), "SELECT \"no such column\"").empty());
    }
};

QTEST_GUILESS_MAIN(DbConnectionRulesTest)
#include "tst_db_connection_rules.moc"
