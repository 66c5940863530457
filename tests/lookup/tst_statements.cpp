// The four statements: their exact text, and what they find in a fixture pcs.mdb.

#include "FixtureDatabase.h"
#include "lookup/SharedQuery.h"
#include "lookup/Statements.h"
#include "platform/db/Database.h"

#include <QtTest>

using namespace lookup;

namespace {

struct Row {
    QString description;
    QString id;
};

// Every row of a search statement (Description, ID), read with the shared objects.
QList<Row> searchRows(const QString &statement)
{
    QObject owner;
    QList<Row> rows;
    SharedQuery query(statement);
    query.forEachRow(QPointer<QObject>(&owner), [&](const platform::db::Recordset &r) {
        rows.append({r.field(QStringLiteral("Description")).toString(), r.field(QStringLiteral("ID")).toString()});
    });
    return rows;
}

QStringList descriptions(const QList<Row> &rows)
{
    QStringList texts;
    for (const Row &row : rows)
        texts << row.description;
    return texts;
}

QStringList ids(const QList<Row> &rows)
{
    QStringList texts;
    for (const Row &row : rows)
        texts << row.id;
    return texts;
}

// pcs9 of every row of a details statement, "<null>" for a Null.
QStringList detailCodes(const QString &statement)
{
    QObject owner;
    QStringList codes;
    SharedQuery query(statement);
    query.forEachRow(QPointer<QObject>(&owner), [&](const platform::db::Recordset &r) {
        const platform::db::Field field = r.field(QStringLiteral("pcs9"));
        codes << (field.isNull() ? QStringLiteral("<null>") : field.toString());
    });
    return codes;
}

} // namespace

class StatementsTest : public fixture::SharedFixtureTest {
    Q_OBJECT

private slots:
    void keywordText()
    {
        QCOMPARE(keywordStatement(QStringLiteral("heart")),
                 QStringLiteral("SELECT [Description],ID FROM longpcs where [Description] like '%heart%' order by "
                                "[Description];"));
        // Not trimmed; wildcards stay; quotes doubled.
        QCOMPARE(keywordStatement(QStringLiteral("   ")),
                 QStringLiteral("SELECT [Description],ID FROM longpcs where [Description] like '%   %' order by "
                                "[Description];"));
        QCOMPARE(keywordStatement(QStringLiteral("a_c%")),
                 QStringLiteral("SELECT [Description],ID FROM longpcs where [Description] like '%a_c%%' order by "
                                "[Description];"));
        QCOMPARE(keywordStatement(QStringLiteral("crohn's")),
                 QStringLiteral("SELECT [Description],ID FROM longpcs where [Description] like '%crohn''s%' order by "
                                "[Description];"));
    }

    void advancedText()
    {
        const QString start = QStringLiteral("SELECT distinct [description],ID FROM getalldata where ");
        const QString end = QStringLiteral(" order by [description];");
        QCOMPARE(advancedStatement({{QStringLiteral("Description"), QStringLiteral("pain")}}, TextPosition::Includes,
                                   Joining::AllKeywords),
                 start + QStringLiteral("[Description] like '%pain%' \r\n") + end);
        QCOMPARE(advancedStatement({{QStringLiteral("Description"), QStringLiteral("heart")},
                                    {QStringLiteral("code"), QStringLiteral("02")}},
                                   TextPosition::Includes, Joining::AllKeywords),
                 start + QStringLiteral("[Description] like '%heart%' \r\n AND [code] like '%02%' \r\n") + end);
        QCOMPARE(advancedStatement({{QStringLiteral("code"), QStringLiteral("02")},
                                    {QStringLiteral("PCS9Desc"), QStringLiteral("bypass")}},
                                   TextPosition::Includes, Joining::AnyKeyword),
                 start + QStringLiteral("[code] like '%02%' \r\n OR [PCS9Desc] like '%bypass%' \r\n") + end);
        // "Starting With..." anchors at the start, "... Ending With" at the end.
        QCOMPARE(advancedStatement({{QStringLiteral("code"), QStringLiteral("02")}}, TextPosition::StartingWith,
                                   Joining::AllKeywords),
                 start + QStringLiteral("[code] like '02%' \r\n") + end);
        QCOMPARE(advancedStatement({{QStringLiteral("code"), QStringLiteral("02")}}, TextPosition::EndingWith,
                                   Joining::AllKeywords),
                 start + QStringLiteral("[code] like '%02' \r\n") + end);
        QCOMPARE(advancedStatement({{QStringLiteral("Description"), QString()}}, TextPosition::Includes,
                                   Joining::AllKeywords),
                 start + QStringLiteral("[Description] like '%%' \r\n") + end);
        QCOMPARE(advancedStatement({{QStringLiteral("Description"), QStringLiteral("o'brien")}},
                                   TextPosition::Includes, Joining::AllKeywords),
                 start + QStringLiteral("[Description] like '%o''brien%' \r\n") + end);
    }

    void detailsText()
    {
        QCOMPARE(detailsStatement(1234), QStringLiteral("SELECT * FROM getalldata where ID= 1234 ;"));
        QCOMPARE(detailsStatement(-7), QStringLiteral("SELECT * FROM getalldata where ID= -7 ;"));
        QCOMPARE(detailsStatement(1234, QStringLiteral("36.11")),
                 QStringLiteral("SELECT * FROM getalldata where ID= 1234 and pcs9 like '36.11' ;"));
        QCOMPARE(detailsStatement(5, QStringLiteral("8'1")),
                 QStringLiteral("SELECT * FROM getalldata where ID= 5 and pcs9 like '8''1' ;"));
    }

    void numericValueOfIcd9Code_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("zero") << "0" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("NoI9") << "NoI9" << 0.0;
        QTest::newRow("zero point zero") << "0.0" << 0.0;
        QTest::newRow("00.01") << "00.01" << 0.01;
        QTest::newRow("36.11") << "36.11" << 36.11;
        QTest::newRow("blanks then number") << "  12abc" << 12.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("point only") << "." << 0.0;
        QTest::newRow("wildcard after number") << "81%" << 81.0;
    }
    void numericValueOfIcd9Code()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingNumber(text), value);
    }

    void keywordResults()
    {
        // Containment regardless of case, sorted without regard to case.
        QList<Row> rows = searchRows(keywordStatement(QStringLiteral("BYPASS")));
        QCOMPARE(descriptions(rows), QStringList({QString::fromStdString(fixture::procedures()[9].description),
                                                  QString::fromStdString(fixture::procedures()[0].description),
                                                  QString::fromStdString(fixture::procedures()[1].description)}));
        QCOMPARE(ids(rows), QStringList({"10", "1", "2"}));

        // Empty text: every description, "alpha..." before "Bypass..." (not by code points).
        rows = searchRows(keywordStatement(QString()));
        QCOMPARE(rows.size(), qsizetype(fixture::procedures().size()));
        QCOMPARE(rows.first().id, QStringLiteral("7"));
        QStringList sorted = descriptions(rows);
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(descriptions(rows), sorted);

        // Three spaces in a row are searched as typed.
        QCOMPARE(ids(searchRows(keywordStatement(QStringLiteral("   ")))), QStringList({"10"}));
        // Wildcards keep their meaning: _ is one character, % any run.
        QCOMPARE(ids(searchRows(keywordStatement(QStringLiteral("p_cemaker")))), QStringList({"11", "6"}));
        QCOMPARE(ids(searchRows(keywordStatement(QStringLiteral("left%joint")))), QStringList({"5"}));
        // A quote finds what it says and breaks nothing.
        QCOMPARE(ids(searchRows(keywordStatement(QStringLiteral("crohn's")))), QStringList({"3"}));
        QVERIFY(searchRows(keywordStatement(QStringLiteral("'"))).size() == 1);
        QVERIFY(searchRows(keywordStatement(QStringLiteral("no such words"))).isEmpty());
    }

    void advancedResults()
    {
        // Distinct: a procedure with three ICD-9 rows comes once.
        QList<Row> rows = searchRows(advancedStatement({{QStringLiteral("code"), QStringLiteral("02H")}},
                                                       TextPosition::StartingWith, Joining::AllKeywords));
        QCOMPARE(ids(rows), QStringList({"11", "6"}));
        // Ending with: codes that end in Z, each procedure once.
        rows = searchRows(advancedStatement({{QStringLiteral("code"), QStringLiteral("JZ")}},
                                            TextPosition::EndingWith, Joining::AllKeywords));
        QCOMPARE(ids(rows), QStringList({"11", "6"}));
        QVERIFY(searchRows(advancedStatement({{QStringLiteral("code"), QStringLiteral("2H")}},
                                             TextPosition::StartingWith, Joining::AllKeywords))
                    .isEmpty());
        // AND narrows, OR widens.
        const std::vector<AdvancedCondition> two = {{QStringLiteral("PCS9Desc"), QStringLiteral("hip")},
                                                    {QStringLiteral("Character 1"), QStringLiteral("0SRB019 for 81.52")}};
        QCOMPARE(ids(searchRows(advancedStatement(two, TextPosition::Includes, Joining::AllKeywords))),
                 QStringList({"5"}));
        const std::vector<AdvancedCondition> either = {{QStringLiteral("PCS9"), QStringLiteral("36.1")},
                                                       {QStringLiteral("PCS9"), QStringLiteral("04.93")}};
        QCOMPARE(ids(searchRows(advancedStatement(either, TextPosition::StartingWith, Joining::AnyKeyword))),
                 QStringList({"10", "1", "2", "9"}));
        // An empty text matches every row whose column has a value: the Null pcs9 of 8 is left out,
        // its NoI9 row still brings 8.
        rows = searchRows(advancedStatement({{QStringLiteral("PCS9"), QString()}}, TextPosition::Includes,
                                            Joining::AllKeywords));
        QCOMPARE(rows.size(), qsizetype(fixture::procedures().size()));
        QCOMPARE(ids(searchRows(advancedStatement({{QStringLiteral("PCS9Desc"), QStringLiteral("(s)")}},
                                                  TextPosition::EndingWith, Joining::AllKeywords))),
                 QStringList({"9"}));
        QCOMPARE(ids(searchRows(advancedStatement({{QStringLiteral("Description"), QStringLiteral("Crohn's")}},
                                                  TextPosition::Includes, Joining::AllKeywords))),
                 QStringList({"3"}));
    }

    void detailsResults()
    {
        QCOMPARE(detailCodes(detailsStatement(1)), QStringList({"36.11"}));
        QCOMPARE(detailCodes(detailsStatement(5)), QStringList({"81.51", "81.52"}));
        QCOMPARE(detailCodes(detailsStatement(6)), QStringList({"37.80", "37.81", "37.82"}));
        QCOMPARE(detailCodes(detailsStatement(6, QStringLiteral("37.81"))), QStringList({"37.81"}));
        QCOMPARE(detailCodes(detailsStatement(7, QStringLiteral("00.01"))), QStringList({"00.01"}));
        QCOMPARE(detailCodes(detailsStatement(8)), QStringList({"NoI9", "<null>"}));
        QVERIFY(detailCodes(detailsStatement(424242)).isEmpty());
    }

    void oneStatementAtATime()
    {
        SharedQuery first(detailsStatement(6));
        try {
            SharedQuery second(detailsStatement(5));
            QFAIL("a second statement started while the first was read");
        } catch (const platform::AppError &error) {
            QCOMPARE(error.number(), ErrStatementRunning);
        }
        QCOMPARE(first.recordCount(), 3);
        first.close();
        QVERIFY(!platform::db::sharedRecordset().isOpen());
        QCOMPARE(detailCodes(detailsStatement(5)).size(), 2);
    }

};

QTEST_MAIN(StatementsTest)
#include "tst_statements.moc"
