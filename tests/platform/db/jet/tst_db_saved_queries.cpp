// Saved queries made into SQLite: Jet expressions give Jet's answers when run,
// the clauses of a stored query (joins, TOP, DISTINCTROW, names of columns)
// keep their meaning, constructs without an equivalent are refused by name,
// and views are made in the order their sources need.

#include "platform/db/jet/JetSqlTranslator.h"
#include "platform/db/jet/SavedQuery.h"
#include "platform/db/jet/SavedQueryViews.h"
#include "platform/db/engine/SqliteHandle.h"
#include "platform/db/engine/UntranslatedQueries.h"

#include <QtTest>

using namespace platform::db;

namespace {

SqliteHandle sampleDatabase()
{
    sqlite3 *raw = nullptr;
    sqlite3_open(":memory:", &raw);
    SqliteHandle db(raw);
    const char *setup =
        "CREATE TABLE t (a INTEGER, b INTEGER, s TEXT, n TEXT, d TEXT, price NUMERIC);"
        "INSERT INTO t VALUES (5, 2, '  Hello ', NULL, '1995-03-17 10:20:30', '12.345678');"
        "CREATE TABLE prices (name TEXT, x INTEGER);"
        "INSERT INTO prices VALUES ('p5', 5), ('p4', 4), ('q4', 4), ('p3', 3);"
        "CREATE TABLE owners (id INTEGER, name TEXT);"
        "INSERT INTO owners VALUES (1, 'ann'), (2, 'bob'), (3, 'cyd');"
        "CREATE TABLE items (owner INTEGER, item TEXT, kind TEXT);"
        "INSERT INTO items VALUES (1, 'pen', 'x'), (1, 'cup', 'x'), (2, 'hat', 'y'), (9, 'orphan', 'x');";
    if (sqlite3_exec(db.get(), setup, nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("%s", sqlite3_errmsg(db.get()));
    return db;
}

// Every row of a statement, its values joined by '|', Null as "<null>".
QStringList rowsOf(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        return {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db)) + " in " + QString::fromStdString(sql)};
    const SqliteStatement statement(raw);
    QStringList rows;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        QStringList cells;
        for (int c = 0; c < sqlite3_column_count(raw); ++c) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(raw, c));
            cells << (text ? QString::fromUtf8(text) : QStringLiteral("<null>"));
        }
        rows << cells.join('|');
    }
    return rows;
}

QStringList columnNames(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    const SqliteStatement statement(raw);
    QStringList names;
    for (int c = 0; raw && c < sqlite3_column_count(raw); ++c)
        names << QString::fromUtf8(sqlite3_column_name(raw, c));
    return names;
}

template <typename Action>
QString refusalOf(Action action)
{
    try {
        action();
    } catch (const UntranslatableQuery &e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(translated)");
}

SavedQueryRow row(int attribute, std::string expression = {}, std::string name1 = {}, std::string name2 = {}, int flag = 0)
{
    SavedQueryRow r;
    r.attribute = attribute;
    r.expression = std::move(expression);
    r.name1 = std::move(name1);
    r.name2 = std::move(name2);
    r.flag = flag;
    return r;
}

SavedQuery query(std::string name, std::vector<SavedQueryRow> rows, int objectFlags = 0)
{
    SavedQuery q;
    q.name = std::move(name);
    q.objectFlags = objectFlags;
    q.rows = std::move(rows);
    return q;
}

using A = SavedQueryRow;

} // namespace

class SavedQueriesTest : public QObject {
    Q_OBJECT

private slots:
    void expressionsGiveJetsAnswers_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("expected");
        // Operators: '/' keeps fractions, '\' and Mod round first, '&' binds
        // loosely and ignores Null, comparisons and logic.
        QTest::newRow("division") << "[a] / [b]" << "2.5";
        QTest::newRow("integer division") << "a \\ b" << "2";
        QTest::newRow("mod") << "a Mod b" << "1";
        QTest::newRow("concatenation skips null") << "\"x\" & [n] & 'y'" << "xy";
        QTest::newRow("concatenation binds loosely") << "\"v\" & a + b" << "v7";
        QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\"" << "say \"hi\"";
        QTest::newRow("between") << "a Between 1 And 5" << "1";
        QTest::newRow("not between") << "a Not Between 6 And 9" << "1";
        QTest::newRow("in") << "a In (1, 5)" << "1";
        QTest::newRow("not") << "Not a = 5" << "0";
        QTest::newRow("is null") << "n Is Null And a Is Not Null" << "1";
        QTest::newRow("like star") << "s Like '*ell*'" << "1";
        QTest::newRow("like question mark") << "'abc' Like 'a?c'" << "1";
        QTest::newRow("yes and no") << "IIf(True, Yes, No)" << "-1";
        // A sign before Jet's -1 must not become SQLite's "--" comment.
        QTest::newRow("signs before true") << "-True + -Yes - -On & '\n-1'" << "1\n-1";
        // Functions.
        QTest::newRow("iif") << "IIf(a > b, \"big\", \"small\")" << "big";
        QTest::newRow("iif on null") << "IIf(n > 1, 1, 0)" << "0";
        QTest::newRow("nz") << "Nz(n, 'none')" << "none";
        QTest::newRow("nz alone") << "'[' & Nz(n) & ']'" << "[]";
        QTest::newRow("left") << "Left(s, 4)" << "  He";
        QTest::newRow("right") << "Right(\"abcdef\", 2)" << "ef";
        QTest::newRow("right none") << "Right('abc', 0)" << "";
        QTest::newRow("mid") << "Mid('abcdef', 2, 3) & Mid('abcdef', 5)" << "bcdef";
        QTest::newRow("len") << "Len(s)" << "8";
        QTest::newRow("trim") << "'<' & Trim(s) & '|' & LTrim(s) & '|' & RTrim(s) & '>'" << "<Hello|Hello |  Hello>";
        QTest::newRow("case") << "UCase('abc') & LCase('DEF')" << "ABCdef";
        QTest::newRow("year and month") << "Year(d) * 100 + Month(d)" << "199503";
        QTest::newRow("format date") << "Format(d, 'yyyy-mm-dd hh:nn')" << "1995-03-17 10:20";
        QTest::newRow("format year") << "Format(d, \"yyyy\")" << "1995";
        QTest::newRow("format number") << "Format(price, '0.00')" << "12.35";
        QTest::newRow("datepart quarter") << "DatePart('q', d)" << "1";
        QTest::newRow("ccur") << "CCur(price)" << "12.3457";
        QTest::newRow("clng") << "CLng(2.6)" << "3";
        QTest::newRow("cstr") << "CStr(a) & 'x'" << "5x";
        QTest::newRow("sum") << "Sum(a) + Count(*) + Avg(b) + Min(a) + Max(b)" << "15.0";
        // Dates: US order, two-digit years, times, ISO.
        QTest::newRow("date with time") << "#3/17/1995 10:20:30 AM# = d" << "1";
        QTest::newRow("iso date") << "#1995-03-17 10:20:30# = d" << "1";
        QTest::newRow("two-digit year") << "#3/17/95# < d And d < #3/18/95#" << "1";
        QTest::newRow("pm") << "#1/2/2001 12:30 PM#" << "2001-01-02 12:30:00";
        QTest::newRow("subquery") << "(SELECT Max([x]) FROM prices) - a" << "0";
    }

    void expressionsGiveJetsAnswers()
    {
        QFETCH(QString, jet);
        QFETCH(QString, expected);
        const SqliteHandle db = sampleDatabase();
        const TranslatedExpression e = translateJetExpression(jet.toStdString());
        QCOMPARE(rowsOf(db.get(), "SELECT " + e.sql + " FROM t"), QStringList({expected}));
    }

    void untranslatableExpressionsNameTheConstruct_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("named");
        QTest::newRow("unknown function") << "Foo(a)" << "the function Foo";
        QTest::newRow("form reference") << "[Forms]![Orders]![OrderID]" << "form or parameter Forms";
        QTest::newRow("xor") << "a Xor b" << "Xor";
        QTest::newRow("digit wildcard") << "s Like '#1'" << "Like pattern";
        QTest::newRow("impossible date") << "#2/30/95#" << "the date #2/30/95#";
        QTest::newRow("weekday format") << "Format(d, 'dddd')" << "Format with the pattern \"dddd\"";
        QTest::newRow("week part") << "DatePart('ww', d)" << "DatePart with the interval \"ww\"";
        QTest::newRow("cut short") << "a +" << "ends too early";
        QTest::newRow("open bracket") << "[a" << "never closed";
        QTest::newRow("wrong arity") << "Left(s)" << "the function Left with 1 arguments";
        QTest::newRow("statement after it") << "a; DROP TABLE t" << "unexpected ';'";
        QTest::newRow("number with two points") << "1.2.3" << "the number 1.2.";
        QTest::newRow("nested too deep") << QString(200000, '(') + "1" + QString(200000, ')') << "longer than Jet keeps";
        QTest::newRow("nested deep") << QString(1000, '(') + "1" + QString(1000, ')') << "nested more than 100";
        QTest::newRow("signs nested deep") << QString(1000, '-') + "1" << "nested more than 100";
        QTest::newRow("chain too long") << "a" + QString(" + a").repeated(1001) << "more than 1000 operations";
    }

    void untranslatableExpressionsNameTheConstruct()
    {
        QFETCH(QString, jet);
        QFETCH(QString, named);
        const QString refusal = refusalOf([&] { translateJetExpression(jet.toStdString()); });
        QVERIFY2(refusal.contains(named), qPrintable(refusal));
    }

    void topKeepsTiesAndCountsPercent()
    {
        const SqliteHandle db = sampleDatabase();
        const auto top = [&](const char *n, int flags) {
            return toSqliteSelect(query("q", {row(A::Type, {}, {}, {}, 1), row(A::Flags, {}, n, {}, flags),
                                              row(A::Table, {}, "prices"), row(A::Column, "prices.name"),
                                              row(A::OrderBy, "prices.x", "D")}));
        };
        const auto sortedRows = [&](const std::string &sql) {
            QStringList rows = rowsOf(db.get(), sql);
            rows.sort();
            return rows;
        };
        QCOMPARE(sortedRows(top("2", 0x10)), QStringList({"p4", "p5", "q4"}));
        QCOMPARE(sortedRows(top("1", 0x10)), QStringList({"p5"}));
        // 25 percent of four rows is one row; half of them two, and the tie.
        QCOMPARE(sortedRows(top("25", 0x30)), QStringList({"p5"}));
        QCOMPARE(sortedRows(top("50", 0x30)), QStringList({"p4", "p5", "q4"}));
        // Without an order there are no ties: the first n rows.
        const std::string unordered = toSqliteSelect(query("q", {row(A::Flags, {}, "3", {}, 0x10), row(A::Table, {}, "prices"),
                                                                 row(A::Column, "name")}));
        QCOMPARE(rowsOf(db.get(), unordered).size(), qsizetype(3));
    }

    void joinsKeepTheirSideWhicheverTableComesFirst()
    {
        const SqliteHandle db = sampleDatabase();
        // items LEFT JOIN owners, written with owners as the first table.
        const std::string left = toSqliteSelect(query(
            "q", {row(A::Table, {}, "owners", "o"), row(A::Table, {}, "items"), row(A::Column, "items.item"),
                  row(A::Column, "o.name"), row(A::Join, "o.id = items.owner", "items", "o", 2), row(A::OrderBy, "items.item")}));
        QCOMPARE(rowsOf(db.get(), left), QStringList({"cup|ann", "hat|bob", "orphan|<null>", "pen|ann"}));
        const std::string right = toSqliteSelect(query(
            "q", {row(A::Table, {}, "items"), row(A::Table, {}, "owners"), row(A::Column, "owners.name"),
                  row(A::Column, "items.item"), row(A::Join, "owners.id = items.owner", "items", "owners", 3),
                  row(A::OrderBy, "owners.name"), row(A::OrderBy, "items.item")}));
        QCOMPARE(rowsOf(db.get(), right), QStringList({"ann|cup", "ann|pen", "bob|hat", "cyd|<null>"}));
        // Two join lines between the same tables are one join on both.
        const std::string both = toSqliteSelect(query(
            "q", {row(A::Table, {}, "owners"), row(A::Table, {}, "items"), row(A::Column, "items.item"),
                  row(A::Join, "owners.id = items.owner", "owners", "items", 1),
                  row(A::Join, "items.kind = 'x'", "owners", "items", 1), row(A::OrderBy, "items.item")}));
        QCOMPARE(rowsOf(db.get(), both), QStringList({"cup", "pen"}));
    }

    void distinctRowCountsRecordsOfTheTablesShown()
    {
        const SqliteHandle db = sampleDatabase();
        const auto owners = [&](int flags, bool withItem) {
            std::vector<SavedQueryRow> rows{row(A::Flags, {}, {}, {}, flags), row(A::Table, {}, "owners"),
                                            row(A::Table, {}, "items"), row(A::Column, "owners.id"),
                                            row(A::Column, "owners.name"),
                                            row(A::Join, "owners.id = items.owner", "owners", "items", 1),
                                            row(A::OrderBy, "owners.id")};
            if (withItem)
                rows.push_back(row(A::Column, "items.item"));
            return rowsOf(db.get(), toSqliteSelect(query("q", rows)));
        };
        QCOMPARE(owners(0, false), QStringList({"1|ann", "1|ann", "2|bob"}));
        // Only owners show: each owner once.
        QCOMPARE(owners(0x08, false), QStringList({"1|ann", "2|bob"}));
        // Every table shows a field: nothing to drop.
        QCOMPARE(owners(0x08, true).size(), qsizetype(3));
    }

    void columnsGetJetsNames()
    {
        const SqliteHandle db = sampleDatabase();
        const std::string sql = toSqliteSelect(query(
            "q", {row(A::Table, {}, "owners"), row(A::Table, {}, "items"), row(A::Column, "owners.name"),
                  row(A::Column, "[items].[item]"), row(A::Column, "owners.id + 1"), row(A::Column, "Len(items.kind)"),
                  row(A::Column, "items.owner", "Who"), row(A::Column, "items.kind"), row(A::Column, "owners.name & ''"),
                  row(A::Join, "owners.id = items.owner", "owners", "items", 1)}));
        QCOMPARE(columnNames(db.get(), sql),
                 QStringList({"name", "item", "Expr1000", "Expr1001", "Who", "kind", "Expr1002"}));
        const std::string shared = toSqliteSelect(query(
            "q", {row(A::Table, {}, "prices", "a"), row(A::Table, {}, "prices", "b"), row(A::Column, "a.name"),
                  row(A::Column, "b.name"), row(A::Join, "a.x = b.x", "a", "b", 1)}));
        QCOMPARE(columnNames(db.get(), shared), QStringList({"a.name", "b.name"}));
    }

    void unionPartsAndTheirOrder()
    {
        const SqliteHandle db = sampleDatabase();
        const auto unionOf = [&](int flags) {
            return rowsOf(db.get(), toSqliteSelect(query(
                "u", {row(A::Type, {}, {}, {}, 9), row(A::Flags, {}, {}, {}, flags),
                      row(A::Table, "SELECT name AS [who] FROM owners WHERE id < 3", {}, "X7YZ_____1"),
                      row(A::Table, "SELECT \"ann\" FROM prices WHERE x = 3;", {}, "X7YZ_____2"),
                      row(A::OrderBy, "who", "D")},
                128)));
        };
        QCOMPARE(unionOf(0x02), QStringList({"bob", "ann"}));
        QCOMPARE(unionOf(0), QStringList({"bob", "ann", "ann"}));
    }

    void queriesWithoutAFaithfulEquivalentAreRefused_data()
    {
        QTest::addColumn<int>("objectFlags");
        QTest::addColumn<int>("typeRow");
        QTest::addColumn<QString>("reason");
        QTest::newRow("crosstab") << 16 << 6 << "crosstab query";
        QTest::newRow("crosstab by its row") << 0 << 6 << "crosstab query";
        QTest::newRow("delete") << 32 << 5 << "delete query (it changes data)";
        QTest::newRow("update") << 48 << 4 << "update query";
        QTest::newRow("append") << 64 << 3 << "append query";
        QTest::newRow("make-table") << 80 << 2 << "make-table query";
        QTest::newRow("data definition") << 96 << 7 << "data-definition query";
        QTest::newRow("pass-through") << 112 << 8 << "pass-through query";
    }

    void queriesWithoutAFaithfulEquivalentAreRefused()
    {
        QFETCH(int, objectFlags);
        QFETCH(int, typeRow);
        QFETCH(QString, reason);
        const SavedQuery q = query("q", {row(A::Type, {}, {}, {}, typeRow), row(A::Table, {}, "t"), row(A::Column, "a")},
                                   objectFlags);
        const QString refusal = refusalOf([&] { toSqliteSelect(q); });
        QVERIFY2(refusal.contains(reason), qPrintable(refusal));
    }

    void parametersAndOtherDatabasesAreRefused()
    {
        const QString parameters = refusalOf([] {
            toSqliteSelect(query("q", {row(A::Parameter, {}, "Start"), row(A::Parameter, {}, "End"),
                                       row(A::Table, {}, "t"), row(A::Column, "a")}));
        });
        QVERIFY2(parameters.contains("parameters ([Start], [End])"), qPrintable(parameters));
        const QString remote = refusalOf([] {
            toSqliteSelect(query("q", {row(A::Table, "C:\\other.mdb", "t"), row(A::Column, "a")}));
        });
        QVERIFY2(remote.contains("another database"), qPrintable(remote));
        SavedQuery damaged = query("q", {});
        damaged.damage = "a long text's chain of pages loops";
        QVERIFY(refusalOf([&] { toSqliteSelect(damaged); }).contains("chain of pages loops"));
    }

    void viewsAreMadeInTheOrderTheirSourcesNeed()
    {
        const SqliteHandle db = sampleDatabase();
        const auto select = [](const char *table, const char *column) {
            return std::vector<SavedQueryRow>{row(A::Table, {}, table), row(A::Column, column)};
        };
        std::vector<SavedQueryRow> crosstab = select("t", "a");
        addSavedQueryViews(db.get(), {
                                         query("A top level", select("middle", "[middle].[name]")),
                                         query("middle", select("owners", "owners.name")),
                                         query("on refused", select("Pivot", "Pivot.a")),
                                         query("Pivot", crosstab, 16),
                                         query("unknown column", select("owners", "owners.[Beginning Date]")),
                                     });
        QCOMPARE(rowsOf(db.get(), "SELECT * FROM \"A top level\""), QStringList({"ann", "bob", "cyd"}));
        QCOMPARE(rowsOf(db.get(), "SELECT name FROM sqlite_schema WHERE type = 'view' ORDER BY name"),
                 QStringList({"A top level", "middle"}));
        QVERIFY(whyQueryIsMissing(db.get(), "PIVOT").value_or("").find("crosstab") != std::string::npos);
        QVERIFY(whyQueryIsMissing(db.get(), "on refused").value_or("").find("reads the query Pivot") != std::string::npos);
        QVERIFY(whyQueryIsMissing(db.get(), "unknown column").value_or("").find("Beginning Date") != std::string::npos);
        QVERIFY(!whyQueryIsMissing(db.get(), "middle"));
    }

    void aFileWithoutRefusedQueriesKeepsNoList()
    {
        const SqliteHandle db = sampleDatabase();
        addSavedQueryViews(db.get(), {query("fine", {row(A::Table, {}, "t"), row(A::Column, "t.a")})});
        QCOMPARE(rowsOf(db.get(), "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name LIKE '%.%'"),
                 QStringList({"0"}));
        QVERIFY(!whyQueryIsMissing(db.get(), "fine"));
    }
};

QTEST_GUILESS_MAIN(SavedQueriesTest)
#include "tst_db_saved_queries.moc"
