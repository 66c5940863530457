// Tables answered from their in-memory copy must answer exactly as SQLite
// reading the table itself: every statement here runs both ways and the rows
// are compared, with the table's columns all in memory and, within a small
// budget, a few columns at a time or the table read directly.

#include "platform/db/engine/QueryRules.h"
#include "platform/db/engine/ScanTable.h"
#include "platform/db/engine/SqliteHandle.h"

#include <QtTest>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace platform::db;

namespace {

SqliteHandle openMemory()
{
    sqlite3 *raw = nullptr;
    sqlite3_open(":memory:", &raw);
    return SqliteHandle(raw);
}

void execute(sqlite3 *db, const std::string &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        QFAIL(qPrintable(text));
    }
}

struct Outcome {
    QStringList rows; // each row's values, typed, in order
    QString error;
};

QString describe(sqlite3_stmt *statement, int i)
{
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_NULL:
        return QStringLiteral("null");
    case SQLITE_INTEGER:
        return QStringLiteral("int:") + QString::number(sqlite3_column_int64(statement, i));
    case SQLITE_FLOAT:
        return QStringLiteral("real:") + QString::number(sqlite3_column_double(statement, i));
    case SQLITE_BLOB:
        return QStringLiteral("blob:")
               + QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, i)), sqlite3_column_bytes(statement, i))
                     .toHex();
    default:
        return QStringLiteral("text:")
               + QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, i)),
                                   sqlite3_column_bytes(statement, i));
    }
}

Outcome run(sqlite3 *db, const QString &sql)
{
    Outcome out;
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &raw, nullptr) != SQLITE_OK) {
        out.error = QString::fromUtf8(sqlite3_errmsg(db));
        return out;
    }
    const SqliteStatement statement(raw);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < sqlite3_column_count(raw); ++i)
            values << describe(raw, i);
        out.rows << values.join(QLatin1Char('|'));
    }
    if (rc != SQLITE_DONE)
        out.error = QString::fromUtf8(sqlite3_errmsg(db));
    return out;
}

QString planOf(sqlite3 *db, const QString &sql)
{
    return run(db, QStringLiteral("EXPLAIN QUERY PLAN ") + sql).rows.join(QLatin1Char('\n'));
}

} // namespace

class DbScanTableTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void answersAsTheTableItself_data();
    void answersAsTheTableItself();
    void randomTextsAndPatterns_data();
    void randomTextsAndPatterns();
    void sortedRowsKeepTheirOrder();
    void joinsAnswerAsTheTablesThemselves();
    void sortsAsTheTableItself_data();
    void sortsAsTheTableItself();
    void randomTextsSortAlike();
    void tooLongPatternFailsAlike();
    void copiesOnlyWhatFitsTheBudget();
    void budgetGrowsWithTheDatabase();
    void oddTableAndColumnNamesAreCopied();
    void columnsNamedAsTheRowid();
    void staysReadOnly();

private:
    SqliteHandle db_;
    SqliteHandle byColumns_;
};

namespace {

// The same rows with a budget that holds every column, and with one that
// holds two or three: a statement using every column reads the table
// directly, and columns used longest ago give way.
SqliteHandle openProcedures(std::optional<std::size_t> budget)
{
    SqliteHandle handle = openMemory();
    sqlite3 *db = handle.get();
    execute(db, "CREATE TABLE procedures (ID INTEGER, Description TEXT COLLATE NOCASE, code TEXT COLLATE NOCASE, "
                "mixed, picture BLOB)");
    const char *rows[] = {
        "1, 'Bypass Coronary Artery, One Artery from Aorta', '021009W', 5, x'00ff'",
        "2, 'bypass coronary artery, two arteries', '021109W', 'five', NULL",
        "3, 'Excision of Appendix', '0DTJ4ZZ', 2.5, x''",
        "4, '\xC3\x89vacuation of Hematoma', '0W9930Z', NULL, NULL",
        "5, '\xC3\xA9vacuation of Fluid', '0W9940Z', 'Five', NULL",
        "6, 'Drainage 100% complete', '0W9G30Z', '', NULL",
        "7, 'Drainage of a_b', '0W9G40Z', 'a_b', NULL",
        "8, 'Zebra Procedure \xF0\x9F\x98\x80', 'XW0DX8Z', NULL, NULL",
        "9, '', '', NULL, NULL",
        "10, NULL, NULL, NULL, NULL",
        "11, 'drainage OF A_B', 'NoI9', 11, NULL",
        "12, 'HEART ' || char(0x130) || 'ZMIR', '02H', 12, NULL",
        "13, 'Heat in ' || char(0x212A) || 'elvin', '02K', NULL, NULL", // the Kelvin sign folds to k
    };
    for (const char *row : rows)
        execute(db, std::string("INSERT INTO procedures VALUES (") + row + ")");
    // Rowids that do not count from 1, as after rows were deleted.
    execute(db, "UPDATE procedures SET rowid = rowid + 100 WHERE rowid > 5");
    // An index holding a column in another order than the table's.
    execute(db, "CREATE INDEX procedures_id ON procedures(ID)");
    execute(db, "CREATE INDEX procedures_code ON procedures(code)");
    if (applyQueryRules(db, budget) != SQLITE_OK)
        return nullptr;
    return handle;
}

} // namespace

void DbScanTableTest::initTestCase()
{
    db_ = openProcedures(std::nullopt);
    byColumns_ = openProcedures(800);
    QVERIFY(db_ && byColumns_);
    for (sqlite3 *db : {db_.get(), byColumns_.get()})
        QVERIFY(planOf(db, "SELECT * FROM procedures WHERE Description LIKE '%a%'").contains("VIRTUAL TABLE"));
    // A procedure by its ID is read through the table (plan -1), by its index;
    // so are all columns when they do not fit together.
    QVERIFY(planOf(db_.get(), "SELECT * FROM procedures WHERE ID = 7").contains("INDEX -1:"));
    QVERIFY(!planOf(db_.get(), "SELECT * FROM procedures WHERE code like '0%'").contains("INDEX -1:"));
    QVERIFY(planOf(byColumns_.get(), "SELECT * FROM procedures WHERE code like '0%'").contains("INDEX -1:"));
    QVERIFY(!planOf(byColumns_.get(), "SELECT ID FROM procedures WHERE code like '0%'").contains("INDEX -1:"));
}

void DbScanTableTest::answersAsTheTableItself_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("contains") << "Description like '%artery%'";
    QTest::newRow("case") << "Description LIKE '%ARTERY%'";
    QTest::newRow("starts") << "Description like 'bypass%'";
    QTest::newRow("ends") << "Description like '%appendix'";
    QTest::newRow("whole text") << "Description like 'apple'";
    QTest::newRow("one character") << "Description like 'Drainage of a_b'";
    QTest::newRow("wildcard as text") << "Description like '%100%%'";
    QTest::newRow("beyond ASCII") << "Description like '%\xC3\xA9VACUATION%'";
    QTest::newRow("outside the BMP") << "Description like '%\xF0\x9F\x98\x80'";
    QTest::newRow("folds to ASCII") << "Description like '%in kelvin%'";
    QTest::newRow("dotted capital I") << "Description like '%\xC4\xB0zmir'";
    QTest::newRow("everything") << "Description like '%%'";
    QTest::newRow("empty pattern") << "Description like ''";
    QTest::newRow("Null pattern") << "Description like NULL";
    QTest::newRow("number pattern") << "code like 2";
    QTest::newRow("two columns") << "Description like '%drainage%' AND code like '0W9G%'";
    QTest::newRow("same column twice") << "Description like '%a%' AND Description like '%b%'";
    QTest::newRow("either") << "Description like '%appendix%' OR code like '02%'";
    QTest::newRow("not") << "Description NOT LIKE '%a%'";
    QTest::newRow("escape") << "Description like '%0!%%' ESCAPE '!'";
    QTest::newRow("column kinds mixed") << "mixed like '%five%'";
    QTest::newRow("integer column") << "ID like '1%'";
    QTest::newRow("blob column") << "picture like '%'";
    QTest::newRow("pattern from the row") << "Description like code";
    QTest::newRow("pattern from a function") << "Description like lower('%' || 'ARTERY' || '%')";
    QTest::newRow("with other conditions") << "Description like '%a%' AND ID > 3 AND code <> ''";
    QTest::newRow("by ID") << "ID = 7";
    QTest::newRow("by ID, and like") << "ID = 7 AND Description like '%of%'";
    QTest::newRow("by ID as text") << "ID = '7'";
    QTest::newRow("by text, case-blind") << "code = '0w9g40z'";
    QTest::newRow("by text, another collation") << "code = '0w9g40z' COLLATE BINARY";
    QTest::newRow("range") << "ID > 3 AND ID <= 9";
    QTest::newRow("is") << "mixed IS NULL";
    QTest::newRow("is null") << "Description IS NULL";
}

void DbScanTableTest::answersAsTheTableItself()
{
    QFETCH(QString, where);
    for (const QString &statement : {QStringLiteral("SELECT *, rowid FROM %1 WHERE ") + where,
                                     QStringLiteral("SELECT code, rowid FROM %1 WHERE ") + where})
    for (sqlite3 *db : {db_.get(), byColumns_.get()}) {
        const Outcome copied = run(db, statement.arg(QStringLiteral("procedures")));
        const Outcome direct = run(db, statement.arg(QStringLiteral("main.procedures")));
        QCOMPARE(copied.error, direct.error);
        // Without ORDER BY the order is the plan's; each row carries its rowid.
        QStringList copiedRows = copied.rows;
        QStringList directRows = direct.rows;
        copiedRows.sort();
        directRows.sort();
        QCOMPARE(copiedRows, directRows);
    }
}

void DbScanTableTest::randomTextsAndPatterns_data()
{
    QTest::addColumn<QList<QChar>>("alphabet");
    QTest::addColumn<int>("longest");
    QTest::newRow("letters beyond ASCII, some folding to ASCII")
        << QList<QChar>{u'a', u'B', u'c', u'H', u'e', u't', u' ', u'%', u'_', u'k', QChar(0xE9), QChar(0x212A),
                        QChar(0x130)}
        << 12;
    // Long runs of ASCII are searched many bytes at a time, across rows.
    QTest::newRow("ASCII only") << QList<QChar>{u'a', u'B', u'h', u'H', u'e', u't', u' ', u'T', u'@', u'`'} << 70;
}

// Short texts from a small alphabet, so that patterns often match, often
// almost match, and runs of letters straddle the end of one row and the start
// of the next.
void DbScanTableTest::randomTextsAndPatterns()
{
    QFETCH(QList<QChar>, alphabet);
    QFETCH(int, longest);
    QRandomGenerator random(20261207);
    const auto randomText = [&](int longest) {
        QString text;
        for (int n = int(random.bounded(longest + 1)); n > 0; --n)
            text += alphabet[random.bounded(int(alphabet.size()))];
        return text;
    };
    for (const std::optional<std::size_t> budget : {std::optional<std::size_t>(), std::optional<std::size_t>(100000)}) {
        const SqliteHandle db = openMemory();
        execute(db.get(), "CREATE TABLE texts (ID INTEGER, Body TEXT COLLATE NOCASE)");
        for (int id = 1; id <= 3000; ++id) {
            const QString body = random.bounded(20) == 0 ? QStringLiteral("NULL") : "'" + randomText(longest) + "'";
            execute(db.get(), QStringLiteral("INSERT INTO texts VALUES (%1, %2)").arg(id).arg(body).toStdString());
        }
        QCOMPARE(applyQueryRules(db.get(), budget), SQLITE_OK);

        int matched = 0;
        for (int i = 0; i < 400; ++i) {
            const QString letters = randomText(4);
            const QString pattern = i % 2 ? letters : "%" + letters + "%";
            const QString sql = QStringLiteral("SELECT ID FROM %1 WHERE Body like '") + pattern + "'";
            const Outcome copied = run(db.get(), sql.arg(QStringLiteral("texts")));
            QCOMPARE(copied.rows, run(db.get(), sql.arg(QStringLiteral("main.texts"))).rows);
            matched += copied.rows.isEmpty() ? 0 : 1;
        }
        QVERIFY2(matched > 100, "the patterns should often match");
    }
}

void DbScanTableTest::sortedRowsKeepTheirOrder()
{
    const QString statement = QStringLiteral("SELECT DISTINCT Description FROM %1 WHERE Description like '%%a%%' "
                                             "ORDER BY Description");
    const Outcome copied = run(db_.get(), statement.arg(QStringLiteral("procedures")));
    QCOMPARE(copied.rows, run(db_.get(), statement.arg(QStringLiteral("main.procedures"))).rows);
    QVERIFY(copied.rows.size() > 5);
}

// A join reads one table once for every row of the other, by comparison.
void DbScanTableTest::joinsAnswerAsTheTablesThemselves()
{
    const QString statement = QStringLiteral("SELECT a.ID, b.code, b.rowid FROM %1 a JOIN %1 b ON b.ID = a.ID + 1 "
                                             "WHERE a.Description like '%%a%%' ORDER BY a.ID");
    for (sqlite3 *db : {db_.get(), byColumns_.get()}) {
        const Outcome joined = run(db, statement.arg(QStringLiteral("procedures")));
        QCOMPARE(joined.rows, run(db, statement.arg(QStringLiteral("main.procedures"))).rows);
        QVERIFY(joined.rows.size() > 5);
    }
}

void DbScanTableTest::sortsAsTheTableItself_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("sortedByTheCopy");
    // Rows 7 and 11 differ only in case, so their order is the table's.
    QTest::newRow("keyword, every row") << "SELECT Description, ID FROM %1 WHERE Description like '%%' ORDER BY Description"
                                        << true;
    QTest::newRow("keyword, many rows") << "SELECT Description, ID FROM %1 WHERE Description like '%a%' ORDER BY Description"
                                        << true;
    QTest::newRow("keyword, few rows") << "SELECT Description, ID FROM %1 WHERE Description like '%drainage of%' "
                                          "ORDER BY [Description]" << true;
    QTest::newRow("no rows") << "SELECT ID FROM %1 WHERE Description like '%nothing like it%' ORDER BY Description"
                             << true;
    QTest::newRow("no condition") << "SELECT * FROM %1 ORDER BY Description" << true;
    QTest::newRow("other conditions") << "SELECT ID FROM %1 WHERE Description like '%a%' AND ID > 3 ORDER BY Description"
                                      << true;
    QTest::newRow("another text column") << "SELECT ID, code FROM %1 ORDER BY code" << true;
    QTest::newRow("with a limit") << "SELECT ID FROM %1 WHERE Description like '%a%' ORDER BY Description LIMIT 3"
                                  << true;
    QTest::newRow("distinct") << "SELECT DISTINCT Description FROM %1 ORDER BY Description" << true;
    QTest::newRow("descending") << "SELECT ID FROM %1 ORDER BY Description DESC" << false;
    QTest::newRow("other collation") << "SELECT ID FROM %1 ORDER BY Description COLLATE BINARY" << false;
    QTest::newRow("two terms") << "SELECT ID FROM %1 ORDER BY Description, ID DESC" << false;
    QTest::newRow("mixed kinds") << "SELECT ID FROM %1 ORDER BY mixed" << false;
    QTest::newRow("an expression") << "SELECT ID FROM %1 ORDER BY lower(Description)" << false;
}

void DbScanTableTest::sortsAsTheTableItself()
{
    QFETCH(QString, statement);
    QFETCH(bool, sortedByTheCopy);
    const Outcome copied = run(db_.get(), statement.arg(QStringLiteral("procedures")));
    const Outcome direct = run(db_.get(), statement.arg(QStringLiteral("main.procedures")));
    QCOMPARE(copied.error, QString());
    QCOMPARE(copied.rows, direct.rows);
    QVERIFY(!copied.rows.isEmpty() || statement.contains(QStringLiteral("nothing")));
    // SQLite sorts only what the copy does not hand over sorted.
    const QString plan = planOf(db_.get(), statement.arg(QStringLiteral("procedures")));
    QVERIFY2(plan.contains(QStringLiteral("VIRTUAL TABLE")), qPrintable(plan));
    QCOMPARE(!plan.contains(QStringLiteral("TEMP B-TREE FOR ORDER BY")), sortedByTheCopy);
    QCOMPARE(run(byColumns_.get(), statement.arg(QStringLiteral("procedures"))).rows,
             run(byColumns_.get(), statement.arg(QStringLiteral("main.procedures"))).rows);
}

void DbScanTableTest::randomTextsSortAlike()
{
    // Few letters and short texts: many texts equal but for case, or
    // altogether, whose order is then the table's; letters beyond ASCII sort
    // by their folded form.
    const QList<QChar> alphabet = {u'a', u'A', u'b', u'B', u' ', u'_', QChar(0xE9), QChar(0xC9), QChar(0x212A), u'k'};
    QRandomGenerator random(7122026);
    for (const std::optional<std::size_t> budget : {std::optional<std::size_t>(), std::optional<std::size_t>(60000)}) {
        const SqliteHandle db = openMemory();
        execute(db.get(), "CREATE TABLE texts (ID INTEGER, Body TEXT COLLATE NOCASE)");
        for (int id = 1; id <= 2000; ++id) {
            QString body;
            for (int n = int(random.bounded(5)); n > 0; --n)
                body += alphabet[random.bounded(int(alphabet.size()))];
            execute(db.get(), QStringLiteral("INSERT INTO texts VALUES (%1, %2)")
                                  .arg(id)
                                  .arg(random.bounded(30) == 0 ? QStringLiteral("NULL") : "'" + body + "'")
                                  .toStdString());
        }
        QCOMPARE(applyQueryRules(db.get(), budget), SQLITE_OK);
        // Every row, half of them (sorted through the whole table's order) and a
        // few (sorted on their own).
        for (const char *pattern : {"%", "%a%", "%b%", "%ab%", "%_a_b%", "%k%"}) {
            const QString sql = QStringLiteral("SELECT ID, Body FROM %1 WHERE Body like '") + QLatin1String(pattern)
                                + QStringLiteral("' ORDER BY Body");
            const Outcome copied = run(db.get(), sql.arg(QStringLiteral("texts")));
            QCOMPARE(copied.rows, run(db.get(), sql.arg(QStringLiteral("main.texts"))).rows);
        }
    }
}

void DbScanTableTest::tooLongPatternFailsAlike()
{
    const QString tooLong = QStringLiteral("SELECT ID FROM %1 WHERE Description like '%2'")
                                .arg(QStringLiteral("%1"), QString(kLongestLikePattern + 1, QLatin1Char('%')));
    const Outcome refused = run(db_.get(), tooLong.arg(QStringLiteral("procedures")));
    QCOMPARE(refused.error, QString::fromLatin1(kPatternTooComplex));
    QCOMPARE(run(db_.get(), tooLong.arg(QStringLiteral("main.procedures"))).error, refused.error);
}

void DbScanTableTest::copiesOnlyWhatFitsTheBudget()
{
    const SqliteHandle db = openMemory();
    execute(db.get(), "CREATE TABLE small (ID INTEGER, Name TEXT)");
    execute(db.get(), "CREATE TABLE large (ID INTEGER, Name TEXT)");
    execute(db.get(), "CREATE TABLE wide (ID INTEGER, Name TEXT)");
    for (int i = 0; i < 100; ++i) {
        execute(db.get(), "INSERT INTO small VALUES (" + std::to_string(i) + ", 'name " + std::to_string(i) + "')");
        // Few rows, long text: only the copying itself finds it too large.
        if (i < 4)
            execute(db.get(), "INSERT INTO wide VALUES (" + std::to_string(i) + ", printf('%.*c', 20000, 'w'))");
    }
    execute(db.get(), "INSERT INTO large WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                      "SELECT i, 'x' FROM n");

    QCOMPARE(addScanTables(db.get(), 16 << 10), (std::vector<std::string>{"small", "large", "wide"}));
    // Plan -1 reads the table directly.
    QVERIFY(!planOf(db.get(), "SELECT * FROM small WHERE Name like '%1%'").contains("INDEX -1:"));
    QVERIFY(planOf(db.get(), "SELECT * FROM large WHERE Name like '%1%'").contains("INDEX -1:"));
    QVERIFY(planOf(db.get(), "SELECT * FROM wide WHERE Name like '%1%'").contains("INDEX -1:"));
    QCOMPARE(run(db.get(), "SELECT count(*) FROM small WHERE Name like '%1%'").rows, QStringList{"int:19"});
    QCOMPARE(run(db.get(), "SELECT count(*) FROM large WHERE Name like 'x'").rows, QStringList{"int:2000"});
    QCOMPARE(run(db.get(), "SELECT count(*) FROM wide WHERE Name like 'w%'").rows, QStringList{"int:4"});
}

void DbScanTableTest::budgetGrowsWithTheDatabase()
{
    // 900,000 one-column rows need 21 MB of copy with their rowids: past the
    // floor, within half of a database of 80 MB.
    for (const bool large : {false, true}) {
        const SqliteHandle db = openMemory();
        execute(db.get(), "CREATE TABLE titles (ID INTEGER)");
        execute(db.get(), "INSERT INTO titles WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                          "WHERE i < 900000) SELECT i FROM n");
        if (large) {
            execute(db.get(), "CREATE TABLE filler (Data BLOB)");
            execute(db.get(), "INSERT INTO filler VALUES (zeroblob(80000000))");
        }
        QCOMPARE(scanTableBudget(db.get()) > kScanTableBudget, large);
        addScanTables(db.get());
        QCOMPARE(!planOf(db.get(), "SELECT ID FROM titles WHERE ID like '1%'").contains("INDEX -1:"), large);
    }
}

void DbScanTableTest::oddTableAndColumnNamesAreCopied()
{
    const SqliteHandle db = openMemory();
    execute(db.get(), "CREATE TABLE \"we\"\"ird [t]\" (\"col \"\"one\"\"\" TEXT COLLATE NOCASE, [select] INTEGER)");
    execute(db.get(), "INSERT INTO \"we\"\"ird [t]\" VALUES ('Quoted \"Text\"', 1), ('other', 2)");
    QCOMPARE(applyQueryRules(db.get()), SQLITE_OK);
    const QString sql = QStringLiteral("SELECT [select] FROM %1\"we\"\"ird [t]\" WHERE \"col \"\"one\"\"\" like '%%QUOTED%%'");
    QVERIFY(planOf(db.get(), sql.arg(QString())).contains("VIRTUAL TABLE"));
    QCOMPARE(run(db.get(), sql.arg(QString())).rows, QStringList{"int:1"});
    QCOMPARE(run(db.get(), sql.arg(QStringLiteral("main."))).rows, QStringList{"int:1"});
}

// Columns are copied, and rows read directly, by rowid under a name of it
// that no column has taken; with every such name taken, the table is read
// directly.
void DbScanTableTest::columnsNamedAsTheRowid()
{
    const SqliteHandle db = openMemory();
    execute(db.get(), "CREATE TABLE some (RowID TEXT, oid INTEGER, Body TEXT COLLATE NOCASE)");
    execute(db.get(), "CREATE TABLE every (rowid TEXT, _ROWID_ TEXT, oid TEXT, Body TEXT COLLATE NOCASE)");
    for (int i = 1; i <= 40; ++i) {
        const std::string n = std::to_string(i);
        execute(db.get(), "INSERT INTO some VALUES ('r" + n + "', " + std::to_string(100 - i) + ", 'body " + n + "')");
        execute(db.get(), "INSERT INTO every VALUES ('r', 'u', 'o', 'body " + n + "')");
    }
    QCOMPARE(applyQueryRules(db.get(), 4000), SQLITE_OK);
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE Body like '%%3%%' OR oid = 97 ORDER BY Body");
    QVERIFY(planOf(db.get(), sql.arg(QStringLiteral("some"))).contains("VIRTUAL TABLE"));
    QCOMPARE(run(db.get(), sql.arg(QStringLiteral("some"))).rows, run(db.get(), sql.arg(QStringLiteral("main.some"))).rows);
    const QString like = QStringLiteral("SELECT *, rowid FROM %1 WHERE Body like '%%3%%' ORDER BY Body");
    QVERIFY(!planOf(db.get(), like.arg(QStringLiteral("some"))).contains("INDEX -1:"));
    QCOMPARE(run(db.get(), like.arg(QStringLiteral("some"))).rows.size(), 13);
    QCOMPARE(run(db.get(), like.arg(QStringLiteral("some"))).rows, run(db.get(), like.arg(QStringLiteral("main.some"))).rows);
    QVERIFY(!planOf(db.get(), like.arg(QStringLiteral("every"))).contains("VIRTUAL TABLE"));
    QCOMPARE(run(db.get(), like.arg(QStringLiteral("every"))).rows.size(), 13);
}

void DbScanTableTest::staysReadOnly()
{
    for (const char *change : {"DELETE FROM procedures", "UPDATE procedures SET ID = 0",
                               "INSERT INTO procedures (ID) VALUES (99)", "DROP TABLE temp.procedures",
                               "CREATE VIRTUAL TABLE temp.other USING vorimel_scan"}) {
        QVERIFY2(!run(db_.get(), QString::fromUtf8(change)).error.isEmpty(), change);
    }
    QCOMPARE(run(db_.get(), "SELECT count(*) FROM procedures").rows, QStringList{"int:13"});
}

QTEST_GUILESS_MAIN(DbScanTableTest)
#include "tst_db_scantable.moc"
