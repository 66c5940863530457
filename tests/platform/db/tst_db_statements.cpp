// The program's four statements, and what the engine refuses, on a fixture file.

#include "tests/platform/db/db_fixture.h"

#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QtTest>

using namespace platform::db;
using dbtest::errorOf;
using dbtest::firstColumn;
using dbtest::kUnexpected;
using dbtest::runOn;

class DbStatementsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void keywordSearchFindsContainedTextWithoutRegardToCase();
    void keywordSearchOrdersWithoutRegardToCase();
    void keywordSearchFoldsCaseBeyondAscii();
    void keywordSearchWildcardsAndUntrimmedText();
    void advancedSearchIsDistinct();
    void detailsOfOneProcedure();
    void detailsFilteredByIcd9CodeAsPattern();
    void fieldsByNameStayRightHoweverAsked();
    void nullStaysApartFromEmptyText();
    void memoValuesComeBackWhole();
    void valuesKeepTheirKinds();
    void recordsetCursorRules();
    void rejectedStatementNamesFaultAndText();
    void onlyOneStatementPerText();
    void nothingButReadingIsAllowed_data();
    void nothingButReadingIsAllowed();

private:
    QString keywordStatement(const QString &text) const
    {
        return "SELECT [Description],ID FROM longpcs where [Description] like '%" + text
            + "%' order by [Description];";
    }

    QTemporaryDir dir_;
    Connection connection_;
};

void DbStatementsTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    connection_.setConnectionString(dbtest::connectionStringFor(dbtest::writeFixture(dir_.path())));
    connection_.setCursorLocation(adUseClient);
    connection_.open();
    QVERIFY(connection_.isOpen());
}

void DbStatementsTest::cleanupTestCase()
{
    connection_.close();
}

void DbStatementsTest::keywordSearchFindsContainedTextWithoutRegardToCase()
{
    const auto rows = runOn(connection_, keywordStatement("ARTERY"));
    QCOMPARE(rows.names, QStringList({"Description", "ID"}));
    QCOMPARE(firstColumn(rows), QStringList({"Bypass Coronary Artery, One Artery from Aorta",
                                             "bypass coronary artery, two arteries"}));
    QCOMPARE(rows.values[1][1], QVariant(2));
}

void DbStatementsTest::keywordSearchOrdersWithoutRegardToCase()
{
    // A byte-wise sort would put "Banana" before "apple" and split the two bypasses.
    const auto rows = runOn(connection_, keywordStatement(""));
    QCOMPARE(firstColumn(rows),
             QStringList({"apple", "Banana", "Bypass Coronary Artery, One Artery from Aorta",
                          "bypass coronary artery, two arteries", "cherry", "Drainage 100% complete",
                          "Drainage of a_b", "Excision of Appendix", QStringLiteral("Zebra Procedure \U0001F600"),
                          QStringLiteral("\u00E9vacuation of Fluid"), QStringLiteral("\u00C9vacuation of Hematoma")}));
}

void DbStatementsTest::keywordSearchFoldsCaseBeyondAscii()
{
    const auto rows = runOn(connection_, keywordStatement(QStringLiteral("\u00C9VACUATION OF")));
    QCOMPARE(firstColumn(rows), QStringList({QStringLiteral("\u00E9vacuation of Fluid"),
                                             QStringLiteral("\u00C9vacuation of Hematoma")}));
    const auto emoji = runOn(connection_, keywordStatement(QStringLiteral("\U0001F600")));
    QCOMPARE(firstColumn(emoji), QStringList({QStringLiteral("Zebra Procedure \U0001F600")}));
}

void DbStatementsTest::keywordSearchWildcardsAndUntrimmedText()
{
    QCOMPARE(firstColumn(runOn(connection_, keywordStatement("a_b"))),
             QStringList({"Drainage of a_b"}));
    QCOMPARE(firstColumn(runOn(connection_, "SELECT [Description] FROM longpcs where [Description] like 'APPL_';")),
             QStringList({"apple"}));
    QVERIFY(runOn(connection_, "SELECT [Description] FROM longpcs where [Description] like 'appl';").values.empty());
    QCOMPARE(firstColumn(runOn(connection_, keywordStatement("100%"))), QStringList({"Drainage 100% complete"}));
    // Spaces are part of the pattern: one-word descriptions do not match.
    const auto spaced = runOn(connection_, keywordStatement(" "));
    QCOMPARE(int(spaced.values.size()), 8);
    QVERIFY(!firstColumn(spaced).contains("apple"));
}

void DbStatementsTest::advancedSearchIsDistinct()
{
    const auto rows = runOn(connection_, "SELECT distinct [description],ID FROM getalldata where "
                                         "Description like '%bypass%' and PCS9 like '%3%' order by [description];");
    QCOMPARE(firstColumn(rows), QStringList({"Bypass Coronary Artery, One Artery from Aorta",
                                             "bypass coronary artery, two arteries"}));
    QCOMPARE(rows.names.join(',').toLower(), QString("description,id"));
}

void DbStatementsTest::detailsOfOneProcedure()
{
    Command command;
    command.setActiveConnection(&connection_);
    command.setCommandText("SELECT * FROM getalldata where ID= 2 ;");
    Recordset recordset;
    recordset.open(command);
    QCOMPARE(recordset.recordCount(), 2);
    recordset.moveFirst();
    QCOMPARE(recordset.field("CODE").toString(), QString("0210094"));
    QCOMPARE(recordset.field("Character 7").toString(), QString("meaning 7 of 0210094"));
    QCOMPARE(recordset.field("id").value(), QVariant(2));
    QCOMPARE(recordset.fieldNames().size(), 12);
    recordset.close();
}

void DbStatementsTest::fieldsByNameStayRightHoweverAsked()
{
    // Readers ask for the same names on every row; whichever way a name is
    // spelt or kept, and whichever statement ran before, it must reach its
    // own column.
    Command command;
    command.setActiveConnection(&connection_);
    Recordset recordset;
    command.setCommandText("SELECT * FROM getalldata where ID= 2 ;");
    recordset.open(command);
    recordset.moveFirst();
    const QStringList names = recordset.fieldNames();
    QList<QVariant> expected;
    for (const QString &name : names)
        expected << recordset.field(name).value();
    QRandomGenerator random(20261207);
    for (int i = 0; i < 2000; ++i) {
        const int column = int(random.bounded(int(names.size())));
        QString asked = names[column]; // a fresh text each time, often at an address just freed
        asked.detach();
        for (QChar &c : asked)
            c = random.bounded(2) ? c.toUpper() : c.toLower();
        QCOMPARE(recordset.field(asked).value(), expected[column]);
    }
    for (const char *name : {"ID", "code", "Character 7"}) {
        const auto column = std::find_if(names.begin(), names.end(), [&](const QString &n) {
            return n.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
        });
        QVERIFY(column != names.end());
        QCOMPARE(recordset.field(name).value(), expected[column - names.begin()]);
    }
    recordset.close();

    // The same names in another statement's other order.
    command.setCommandText("SELECT pcs9, [Character 7], ID, code FROM getalldata where ID= 2 ;");
    recordset.open(command);
    recordset.moveFirst();
    QCOMPARE(recordset.field("ID").value(), QVariant(2));
    QCOMPARE(recordset.field("code").toString(), QString("0210094"));
    QCOMPARE(recordset.field("Character 7").toString(), QString("meaning 7 of 0210094"));
    QVERIFY_THROWS_EXCEPTION(platform::AppError, recordset.field("Description"));
    recordset.close();
}

void DbStatementsTest::detailsFilteredByIcd9CodeAsPattern()
{
    const auto rows = runOn(connection_, "SELECT * FROM getalldata where ID= 2 and pcs9 like '36.13' ;");
    QCOMPARE(int(rows.values.size()), 1);
    QCOMPARE(rows.values[0][rows.names.indexOf("pcs9desc")].toString(), QString("Bypass three"));
    QVERIFY(runOn(connection_, "SELECT * FROM getalldata where ID= 2 and pcs9 like '36.1' ;").values.empty());
    // "noi9" matches the stored "NoI9": like ignores case here too.
    QCOMPARE(int(runOn(connection_, "SELECT * FROM getalldata where ID= 4 and pcs9 like 'noi9' ;").values.size()), 1);
}

void DbStatementsTest::nullStaysApartFromEmptyText()
{
    Command command;
    command.setActiveConnection(&connection_);
    command.setCommandText("SELECT pcs9, pcs9desc FROM getalldata where ID= 3 ;");
    Recordset recordset;
    recordset.open(command);
    QVERIFY(recordset.field("pcs9").isNull());
    QCOMPARE(recordset.field("pcs9").toString(), QString()); // a missing value reads as empty text
    QVERIFY(!recordset.field("pcs9desc").isNull());
    QCOMPARE(recordset.field("pcs9desc").value(), QVariant(QString("")));
    recordset.close();

    const auto memo = runOn(connection_, "SELECT ID, Body IS NULL, Body = '' FROM notes where ID in (3, 4) order by ID;");
    QCOMPARE(memo.values[0], QVariantList({3, 0, 1}));
    QCOMPARE(memo.values[1], QVariantList({4, 1, QVariant()}));
}

void DbStatementsTest::memoValuesComeBackWhole()
{
    const auto rows = runOn(connection_, "SELECT ID, Body FROM notes where ID in (1, 2, 5, 6) order by ID;");
    QCOMPARE(int(rows.values.size()), 4);
    for (const QVariantList &row : rows.values) {
        const QString expected = dbtest::fixtureMemo(row[0].toInt());
        QCOMPARE(row[1].toString().size(), expected.size());
        QCOMPARE(row[1].toString(), expected);
    }
    QVERIFY(rows.values[0][1].toString().size() >= 100000);
}

void DbStatementsTest::valuesKeepTheirKinds()
{
    const auto rows = runOn(connection_, "SELECT 1.5, x'00ff', 9000000000, -7, '', NULL, 'caf\u00e9' "
                                         "FROM longpcs where ID= 1 ;");
    QCOMPARE(int(rows.values.size()), 1);
    const QVariantList &row = rows.values[0];
    QCOMPARE(row[0], QVariant(1.5));
    QCOMPARE(row[1], QVariant(QByteArray("\0\xff", 2)));
    QCOMPARE(row[2], QVariant(qlonglong(9000000000)));
    QCOMPARE(row[3].typeId(), QMetaType::Int);
    QCOMPARE(row[3].toInt(), -7);
    QCOMPARE(row[4], QVariant(QString("")));
    QVERIFY(row[5].isNull());
    QCOMPARE(row[6], QVariant(QStringLiteral("caf\u00e9")));
}

void DbStatementsTest::recordsetCursorRules()
{
    Command command;
    command.setActiveConnection(&connection_);
    command.setCommandText(keywordStatement("no such words"));
    Recordset recordset;
    recordset.open(command);
    QVERIFY(recordset.eof());
    QCOMPARE(recordset.recordCount(), 0);
    QCOMPARE(recordset.fieldNames(), QStringList({"Description", "ID"}));
    QVERIFY(!errorOf([&] { recordset.moveFirst(); }, ErrNoCurrentRow).startsWith(kUnexpected));
    QVERIFY(!errorOf([&] { recordset.open(command); }, ErrAlreadyOpen).startsWith(kUnexpected));
    recordset.close();

    command.setCommandText(keywordStatement("cherry"));
    recordset.open(command);
    QVERIFY(!recordset.eof());
    const QString unknown = errorOf([&] { recordset.field("Nope"); }, ErrNoSuchField);
    QVERIFY2(!unknown.startsWith(kUnexpected) && unknown.contains("Nope"), qPrintable(unknown));
    recordset.moveNext();
    QVERIFY(recordset.eof());
    QVERIFY(!errorOf([&] { recordset.moveNext(); }, ErrNoCurrentRow).startsWith(kUnexpected));
    QVERIFY(!errorOf([&] { recordset.field("ID"); }, ErrNoCurrentRow).startsWith(kUnexpected));
    recordset.close();
    QVERIFY(!errorOf([&] { recordset.eof(); }, ErrNotOpen).startsWith(kUnexpected));
}

void DbStatementsTest::rejectedStatementNamesFaultAndText()
{
    const QString statement = keywordStatement("O'Brien");
    try {
        runOn(connection_, statement);
        QFAIL("a statement with an unbalanced quote ran");
    } catch (const platform::AppError &e) {
        QCOMPARE(e.number(), int(ErrStatement));
        QCOMPARE(e.source(), QStringLiteral("ADODB.Recordset"));
        QVERIFY2(e.description().contains("syntax error"), qPrintable(e.description()));
        QVERIFY(e.description().contains(statement));
    }
    try {
        runOn(connection_, "SELECT missing FROM longpcs;");
        QFAIL("a statement naming a missing column ran");
    } catch (const platform::AppError &e) {
        QVERIFY2(e.description().contains("no such column: missing"), qPrintable(e.description()));
    }
    // The connection stays usable after a rejected statement.
    QCOMPARE(int(runOn(connection_, keywordStatement("")).values.size()), 11);
}

void DbStatementsTest::onlyOneStatementPerText()
{
    for (const QString &text : {QStringLiteral("SELECT 1; SELECT 2;"), QStringLiteral("SELECT 1; -- more"),
                               QStringLiteral("SELECT ID FROM longpcs;;"), QStringLiteral("  ")}) {
        const QString error = errorOf([&] { runOn(connection_, text); }, ErrStatement);
        QVERIFY2(!error.startsWith(kUnexpected), qPrintable(text + ": " + error));
    }
    QCOMPARE(runOn(connection_, "SELECT 1 ;  \n\t").values.size(), std::size_t(1));
}

void DbStatementsTest::nothingButReadingIsAllowed_data()
{
    QTest::addColumn<QString>("statement");
    QTest::newRow("delete") << "DELETE FROM longpcs;";
    QTest::newRow("insert") << "INSERT INTO longpcs VALUES (99, 'x');";
    QTest::newRow("update") << "UPDATE longpcs SET ID = 0;";
    QTest::newRow("create") << "CREATE TABLE t (x);";
    QTest::newRow("temp table") << "CREATE TEMP TABLE t (x);";
    QTest::newRow("drop") << "DROP TABLE longpcs;";
    QTest::newRow("attach") << "ATTACH DATABASE '" + QDir::tempPath() + "/vorimel-attach.db' AS other;";
    QTest::newRow("pragma write") << "PRAGMA query_only=0;";
    QTest::newRow("pragma read") << "PRAGMA table_info(longpcs);";
    QTest::newRow("writable schema") << "PRAGMA writable_schema=1;";
    QTest::newRow("begin") << "BEGIN;";
    QTest::newRow("vacuum into") << "VACUUM INTO '" + QDir::tempPath() + "/vorimel-vacuum.db';";
    QTest::newRow("with delete") << "WITH x AS (SELECT 1) DELETE FROM longpcs;";
}

void DbStatementsTest::nothingButReadingIsAllowed()
{
    QFETCH(QString, statement);
    const QString error = errorOf([&] { runOn(connection_, statement); }, ErrStatement);
    QVERIFY2(!error.startsWith(kUnexpected), qPrintable(error));
    QVERIFY(!QFile::exists(QDir::tempPath() + "/vorimel-attach.db"));
    QVERIFY(!QFile::exists(QDir::tempPath() + "/vorimel-vacuum.db"));
    QCOMPARE(runOn(connection_, "SELECT count(*) FROM longpcs where ID > 0;").values[0][0], QVariant(11));
}

QTEST_GUILESS_MAIN(DbStatementsTest)
#include "tst_db_statements.moc"
