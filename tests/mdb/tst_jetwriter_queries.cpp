// A saved select query is stored as Access stores one: mdb-queries lists it
// and rebuilds its text, mdb-reader sees its catalog entry and its rows of
// MSysQueries, and the user's tables stay the only tables listed. Files
// without queries keep no trace of them.

#include <QTemporaryDir>
#include <QtTest>

#include "tests/mdb/MdbCliTools.h"
#include "tests/mdb/MdbReaderJs.h"
#include "tests/mdb/TableData.h"

using namespace mdbtest;
using mdb::ColumnType;
using mdb::JetWriter;
using mdb::Value;

namespace {

const std::vector<mdb::ColumnDefinition> kCodes{{"ID", ColumnType::Long}, {"Description", ColumnType::Text, 255}};
const std::vector<mdb::ColumnDefinition> kMapping{{"ID", ColumnType::Long}, {"pcs9", ColumnType::Text, 10}};

mdb::SavedSelectQuery joinedQuery()
{
    mdb::SavedSelectQuery q;
    q.name = "getalldata";
    q.distinct = true;
    q.columns = {{"codes.ID", ""}, {"[codes].[Description]", "Long name"}, {"mapping.pcs9", ""}};
    q.tables = {"codes", "mapping"};
    q.joins = {{"codes", "mapping", "codes.ID = mapping.ID", mdb::JoinKind::Left}};
    q.where = "codes.ID > 1";
    q.orderBy = {{"codes.ID", true}, {"mapping.pcs9", false}};
    return q;
}

void writeWithQuery(const QString &path, const mdb::SavedSelectQuery &query)
{
    JetWriter writer(path.toStdString());
    const auto codes = writer.addTable("codes", kCodes);
    writer.addTable("mapping", kMapping);
    writer.appendRow(codes, {2, std::string("Bypass")});
    writer.addSelectQuery(query);
    writer.finish();
}

const ReaderTable *findTable(const std::vector<ReaderTable> &tables, const std::string &name)
{
    for (const ReaderTable &t : tables) {
        if (t.name == name)
            return &t;
    }
    return nullptr;
}

} // namespace

class JetWriterQueriesTest : public QObject {
    Q_OBJECT

private slots:
    void queryIsListedAndRebuiltByMdbtools()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("q.mdb");
        writeWithQuery(path, joinedQuery());
        QCOMPARE(QString::fromUtf8(runMdbTool("mdb-tables", {"-1", path})).split('\n', Qt::SkipEmptyParts),
                 QStringList({"codes", "mapping"}));
        QCOMPARE(QString::fromUtf8(runMdbTool("mdb-queries", {"-1", "-L", path})).trimmed(), QString("getalldata"));
        const QString text = QString::fromUtf8(runMdbTool("mdb-queries", {path, "getalldata"})).simplified();
        QCOMPARE(text, QString("SELECT DISTINCT codes.ID,[codes].[Description],mapping.pcs9 FROM [codes],[mapping] "
                               "WHERE codes.ID > 1 ORDER BY codes.ID DESCENDING"));
    }

    void rowsAndCatalogEntryReadBackThroughMdbReader()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("q.mdb");
        writeWithQuery(path, joinedQuery());
        ReaderOptions options;
        options.systemTables = true;
        const std::vector<ReaderTable> tables = readWithMdbReader(path, options);

        const ReaderTable *catalog = findTable(tables, "MSysObjects");
        QVERIFY(catalog);
        bool listed = false;
        for (const Row &row : catalog->rows) {
            // Id, ParentId, Name, Type, ...
            if (row[2] == Value(std::string("getalldata"))) {
                QCOMPARE(describe(row[3]), describe(Value(5)));
                listed = true;
            }
        }
        QVERIFY(listed);

        const ReaderTable *queries = findTable(tables, "MSysQueries");
        QVERIFY(queries);
        std::vector<Row> clauses; // Attribute, Name1, Name2, Expression, Flag
        for (const Row &row : queries->rows)
            clauses.push_back({row[1], row[3], row[4], row[5], row[6]});
        const Value null;
        const auto text = [](const char *s) { return Value(std::string(s)); };
        const std::vector<Row> expected{
            {0, null, null, null, null},
            {255, null, null, null, null},
            {1, null, null, null, 1},
            {3, null, null, null, 2},
            {5, text("codes"), null, null, null},
            {5, text("mapping"), null, null, null},
            {6, null, null, text("codes.ID"), 0},
            {6, text("Long name"), null, text("[codes].[Description]"), 0},
            {6, null, null, text("mapping.pcs9"), 0},
            {7, text("codes"), text("mapping"), text("codes.ID = mapping.ID"), 2},
            {8, null, null, text("codes.ID > 1"), null},
            {11, text("D"), null, text("codes.ID"), null},
            {11, null, null, text("mapping.pcs9"), null},
        };
        const QString difference = compareRows(clauses, expected, "MSysQueries");
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void fileWithoutQueriesKeepsNoQueryTable()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("plain.mdb");
        writeDatabase(path, {{"codes", kCodes, {{1, std::string("a")}}}});
        ReaderOptions options;
        options.systemTables = true;
        const std::vector<ReaderTable> tables = readWithMdbReader(path, options);
        QVERIFY(!findTable(tables, "MSysQueries"));
        QCOMPARE(QString::fromUtf8(runMdbTool("mdb-queries", {"-1", "-L", path})).trimmed(), QString());
    }

    void unstorableQueriesAreRefused()
    {
        QTemporaryDir dir;
        JetWriter writer(dir.filePath("bad.mdb").toStdString());
        writer.addTable("codes", kCodes);
        mdb::SavedSelectQuery clash = joinedQuery();
        clash.name = "CODES";
        QVERIFY(errorOf([&] { writer.addSelectQuery(clash); }).contains("used more than once"));
        mdb::SavedSelectQuery badName = joinedQuery();
        badName.name = "a.b";
        QVERIFY(errorOf([&] { writer.addSelectQuery(badName); }).contains("Query name \"a.b\""));
        mdb::SavedSelectQuery noColumns = joinedQuery();
        noColumns.columns.clear();
        QVERIFY(errorOf([&] { writer.addSelectQuery(noColumns); }).contains("selects no columns"));
        mdb::SavedSelectQuery halfJoin = joinedQuery();
        halfJoin.joins[0].condition.clear();
        QVERIFY(errorOf([&] { writer.addSelectQuery(halfJoin); }).contains("join without"));
        QVERIFY(errorOf([&] { writer.addTable("MSysQueries", kCodes); }).contains("used more than once"));
        // A refused query leaves the writer usable.
        writer.addSelectQuery(joinedQuery());
        writer.finish();
    }
};

QTEST_GUILESS_MAIN(JetWriterQueriesTest)
#include "tst_jetwriter_queries.moc"
