// Files made by Access itself, opened as pcs.mdb would be: an Access 97 (Jet 3)
// file with its saved queries, a Jet 4 file of dates and an Access 2007 file.
// Every table and value must match what mdbtools exports, the dates what
// mdb-reader reads, and every saved query either the same query written by
// hand over the tables, or a clear refusal naming the query and the reason.
// The files live outside the project (VORIMEL_ACCESS_DIR); without them the
// tests skip.

#include "tests/platform/db/db_fixture.h"
#include "platform/AppError.h"
#include "tests/mdb/MdbCliTools.h"
#include "tests/mdb/MdbReaderJs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

using namespace dbtest;
using mdbtest::runMdbTool;
using platform::db::Connection;
using platform::db::ErrStatement;

namespace {

// The xz-compressed file decompressed into dir; empty when it is not at hand.
QString unpacked(const QTemporaryDir &dir, const QString &name)
{
    const QString packed = QStringLiteral(VORIMEL_ACCESS_DIR "/") + name + QStringLiteral(".xz");
    if (!QFile::exists(packed))
        return {};
    QProcess xz;
    const QString target = dir.filePath(name);
    xz.setStandardOutputFile(target);
    xz.start(QStringLiteral("xz"), {QStringLiteral("-dc"), packed});
    if (!xz.waitForFinished(60000) || xz.exitCode() != 0)
        return {};
    return target;
}

QStringList lines(const QByteArray &text)
{
    return QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
}

// One field of mdb-export's CSV: quoted fields are text, bare empty is Null.
struct CsvField {
    QString text;
    bool quoted = false;
};

std::vector<std::vector<CsvField>> parseCsv(const QString &csv)
{
    std::vector<std::vector<CsvField>> rows(1);
    CsvField field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
                field.text += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field.text += c;
            }
        } else if (c == '"') {
            inQuotes = field.quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field = {};
        } else if (c == '\n') {
            rows.back().push_back(field);
            field = {};
            rows.emplace_back();
        } else {
            field.text += c;
        }
    }
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

bool nearlyEqual(double a, double b)
{
    return std::fabs(a - b) <= 1e-6 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

// Empty when the value matches mdb-export's field; else the difference.
QString mismatch(const QVariant &ours, const CsvField &exported)
{
    if (ours.isNull())
        return exported.quoted || !exported.text.isEmpty() ? QStringLiteral("Null, exported as '%1'").arg(exported.text) : QString();
    switch (ours.typeId()) {
    case QMetaType::QString:
        // libmdb formats no date before 1900 nor after 2038 or so; those are
        // checked against mdb-reader instead.
        if (exported.text.startsWith(QStringLiteral("1900-01-00")))
            return {};
        return ours.toString() == exported.text && exported.quoted ? QString()
                                                                    : QStringLiteral("'%1' against '%2'").arg(ours.toString(), exported.text);
    case QMetaType::QByteArray:
        return QString::fromLatin1(ours.toByteArray().toHex()).toUpper() == exported.text.toUpper()
            ? QString()
            : QStringLiteral("a blob of %1 bytes against %2 hex digits").arg(ours.toByteArray().size()).arg(exported.text.size());
    default: {
        bool ok = false;
        const double theirs = exported.text.toDouble(&ok);
        const double mine = ours.toDouble();
        // Yes/No: -1 here, 1 in the export.
        if (ok && (nearlyEqual(mine, theirs) || (mine == -1 && theirs == 1)))
            return {};
        return QStringLiteral("%1 against '%2'").arg(ours.toString(), exported.text);
    }
    }
}

QStringList enginesObjects(Connection &connection, const char *type)
{
    return firstColumn(runOn(connection, QStringLiteral("SELECT name FROM sqlite_schema WHERE type = '%1' AND name NOT "
                                                        "LIKE '%.%' ORDER BY name")
                                             .arg(QLatin1String(type))));
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// Each row as one line of typed values, sorted: a multiset of rows.
QStringList canonicalRows(const Rows &rows)
{
    QStringList out;
    for (const QVariantList &row : rows.values) {
        QStringList cells;
        for (const QVariant &v : row) {
            if (v.isNull())
                cells << QStringLiteral("<null>");
            else if (v.typeId() == QMetaType::QByteArray)
                cells << QStringLiteral("blob:") + QString::fromLatin1(v.toByteArray().toHex());
            else if (v.typeId() == QMetaType::QString)
                cells << QStringLiteral("'") + v.toString() + QStringLiteral("'");
            else
                cells << QString::number(v.toDouble(), 'g', 15);
        }
        out << cells.join(QStringLiteral(" | "));
    }
    out.sort();
    return out;
}

// The copied tables themselves: small tables also have a scan copy in front
// of them, whose unindexed joins take far longer than SQLite's own.
QString onTheTables(QString sql)
{
    static const QRegularExpression source(QStringLiteral("\\b(FROM|JOIN) (\\[[^\\]]+\\]|[A-Za-z]+)"));
    return sql.replace(source, QStringLiteral("\\1 main.\\2"));
}

const QString kSubtotals = QStringLiteral(
    "(SELECT OrderID, sum(round(UnitPrice * Quantity * (1 - Discount) / 100.0, 4) * 100) AS Subtotal "
    "FROM [Order Details] GROUP BY OrderID)");
const QString kExtended = QStringLiteral(
    "(SELECT d.OrderID, d.ProductID, round(d.UnitPrice * d.Quantity * (1 - d.Discount) / 100.0, 4) * 100 AS Extended "
    "FROM [Order Details] d JOIN Products p ON p.ProductID = d.ProductID)");
const QString kIn1995 = QStringLiteral("BETWEEN '1995-01-01 00:00:00' AND '1995-12-31 00:00:00'");

// The Access 97 sample's select queries, each written by hand for SQLite
// from what the query means in Access.
const std::map<QString, QString> &handWritten()
{
    static const std::map<QString, QString> queries{
        {"Alphabetical List of Products",
         "SELECT p.*, c.CategoryName FROM Products p JOIN Categories c ON c.CategoryID = p.CategoryID "
         "WHERE p.Discontinued = 0"},
        {"Catalog",
         "SELECT c.CategoryName, c.Description, c.Picture, p.ProductID, p.ProductName, p.QuantityPerUnit, p.UnitPrice "
         "FROM Categories c JOIN Products p ON c.CategoryID = p.CategoryID WHERE p.Discontinued = 0"},
        {"Category Sales for 1995",
         "SELECT CategoryName, sum(Sales) FROM (SELECT c.CategoryName, sum(round(d.UnitPrice * d.Quantity * "
         "(1 - d.Discount) / 100.0, 4) * 100) AS Sales FROM Categories c JOIN Products p ON c.CategoryID = "
         "p.CategoryID JOIN [Order Details] d ON d.ProductID = p.ProductID JOIN Orders o ON o.OrderID = d.OrderID "
         "WHERE o.ShippedDate " + kIn1995 + " GROUP BY c.CategoryName, p.ProductName) GROUP BY CategoryName"},
        {"Current Product List", "SELECT ProductID, ProductName FROM Products WHERE Discontinued = 0"},
        {"Customers and Suppliers by City",
         "SELECT City, CompanyName, ContactName, 'Customers' FROM Customers UNION "
         "SELECT City, CompanyName, ContactName, 'Suppliers' FROM Suppliers"},
        {"Invoices",
         "SELECT o.ShipName, o.ShipAddress, o.ShipCity, o.ShipRegion, o.ShipPostalCode, o.ShipCountry, o.CustomerID, "
         "c.CompanyName AS C1, c.Address, c.City, c.Region, c.PostalCode, c.Country, e.FirstName || ' ' || e.LastName, "
         "o.OrderID, o.OrderDate, o.RequiredDate, o.ShippedDate, s.CompanyName AS C2, d.ProductID, p.ProductName, "
         "d.UnitPrice, d.Quantity, d.Discount, round(d.UnitPrice * d.Quantity * (1 - d.Discount) / 100.0, 4) * 100, "
         "o.Freight FROM Orders o JOIN [Order Details] d ON d.OrderID = o.OrderID JOIN Customers c ON "
         "c.CustomerID = o.CustomerID JOIN Employees e ON e.EmployeeID = o.EmployeeID JOIN Products p ON "
         "p.ProductID = d.ProductID JOIN Shippers s ON s.ShipperID = o.ShipVia"},
        {"Order Details Extended",
         "SELECT d.OrderID, d.ProductID, p.ProductName, d.UnitPrice, d.Quantity, d.Discount, "
         "round(d.UnitPrice * d.Quantity * (1 - d.Discount) / 100.0, 4) * 100 FROM [Order Details] d "
         "JOIN Products p ON p.ProductID = d.ProductID"},
        {"Order Subtotals", "SELECT * FROM " + kSubtotals},
        {"Orders Qry",
         "SELECT o.OrderID, o.CustomerID, o.EmployeeID, o.OrderDate, o.RequiredDate, o.ShippedDate, o.ShipVia, "
         "o.Freight, o.ShipName, o.ShipAddress, o.ShipCity, o.ShipRegion, o.ShipPostalCode, o.ShipCountry, "
         "c.CompanyName, c.Address, c.City, c.Region, c.PostalCode, c.Country FROM Orders o JOIN Customers c ON "
         "c.CustomerID = o.CustomerID"},
        {"Product Sales for 1995",
         "SELECT c.CategoryName, p.ProductName, sum(round(d.UnitPrice * d.Quantity * (1 - d.Discount) / 100.0, 4) * 100) "
         "FROM Categories c JOIN Products p ON c.CategoryID = p.CategoryID JOIN [Order Details] d ON "
         "d.ProductID = p.ProductID JOIN Orders o ON o.OrderID = d.OrderID WHERE o.ShippedDate " + kIn1995
             + " GROUP BY c.CategoryName, p.ProductName"},
        {"Products Above Average Price",
         "SELECT ProductName, UnitPrice FROM Products WHERE UnitPrice > (SELECT avg(UnitPrice) FROM Products)"},
        {"Products by Category",
         "SELECT c.CategoryName, p.ProductName, p.QuantityPerUnit, p.UnitsInStock, p.Discontinued FROM Categories c "
         "JOIN Products p ON c.CategoryID = p.CategoryID WHERE p.Discontinued = 0"},
        {"Quarterly Orders",
         "SELECT DISTINCT c.CustomerID, c.CompanyName, c.City, c.Country FROM Orders o LEFT JOIN Customers c ON "
         "c.CustomerID = o.CustomerID WHERE o.OrderDate " + kIn1995},
        {"Sales by Category",
         "SELECT c.CategoryID, c.CategoryName, p.ProductName, sum(x.Extended) FROM Categories c JOIN Products p ON "
         "c.CategoryID = p.CategoryID JOIN " + kExtended + " x ON x.ProductID = p.ProductID JOIN Orders o ON "
         "o.OrderID = x.OrderID WHERE o.OrderDate " + kIn1995 + " GROUP BY c.CategoryID, c.CategoryName, p.ProductName"},
        {"Sales Totals by Amount",
         "SELECT s.Subtotal, o.OrderID, c.CompanyName, o.ShippedDate FROM Orders o JOIN " + kSubtotals
             + " s ON s.OrderID = o.OrderID JOIN Customers c ON c.CustomerID = o.CustomerID WHERE s.Subtotal > 2500 "
               "AND o.ShippedDate " + kIn1995},
        {"Summary of Sales by Quarter",
         "SELECT o.ShippedDate, o.OrderID, s.Subtotal FROM Orders o JOIN " + kSubtotals
             + " s ON s.OrderID = o.OrderID WHERE o.ShippedDate IS NOT NULL"},
        {"Summary of Sales by Year",
         "SELECT o.ShippedDate, o.OrderID, s.Subtotal FROM Orders o JOIN " + kSubtotals
             + " s ON s.OrderID = o.OrderID WHERE o.ShippedDate IS NOT NULL"},
        // TOP 10 keeps every product as dear as the tenth.
        {"Ten Most Expensive Products",
         "SELECT ProductName, UnitPrice FROM Products WHERE UnitPrice >= (SELECT UnitPrice FROM Products ORDER BY "
         "UnitPrice DESC LIMIT 1 OFFSET 9)"},
    };
    return queries;
}

// The queries Access 97 keeps that have no faithful equivalent, with what the
// refusal must name.
const std::map<QString, QString> &refused()
{
    static const std::map<QString, QString> queries{
        {"Employee Sales by Country", "parameters ([Beginning Date], [Ending Date])"},
        {"Invoices Filter", "form or parameter Forms"},
        {"Quarterly Orders by Product", "crosstab"},
        {"Sales by Year", "parameters"},
    };
    return queries;
}

} // namespace

class AccessFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        for (const char *name : {"nwind.mdb", "DateTestDatabase.mdb", "ASampleDatabase.accdb"}) {
            const QString path = unpacked(dir_, QString::fromLatin1(name));
            if (path.isEmpty())
                QSKIP(qPrintable(QStringLiteral("the Access test files are not at hand in " VORIMEL_ACCESS_DIR)));
            auto connection = std::make_unique<Connection>();
            openFile(*connection, path);
            paths_[name] = path;
            connections_[name] = std::move(connection);
        }
    }

    void everyTableAndValueMatchesMdbExport_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *name : {"nwind.mdb", "DateTestDatabase.mdb", "ASampleDatabase.accdb"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void everyTableAndValueMatchesMdbExport()
    {
        QFETCH(QString, file);
        const QString path = paths_.at(file);
        Connection &connection = *connections_.at(file);
        const QStringList tables = lines(runMdbTool("mdb-tables", {"-1", path}));
        QCOMPARE(enginesObjects(connection, "table"), sorted(tables));
        for (const QString &table : tables) {
            const Rows ours = runOn(connection, QStringLiteral("SELECT * FROM [%1]").arg(table));
            const auto exported = parseCsv(QString::fromUtf8(
                runMdbTool("mdb-export", {"-H", "-b", "hex", "-T", "%Y-%m-%d %H:%M:%S", path, table})));
            QVERIFY2(ours.values.size() == exported.size(),
                     qPrintable(QStringLiteral("%1: %2 rows against %3").arg(table).arg(ours.values.size()).arg(exported.size())));
            for (std::size_t r = 0; r < exported.size(); ++r) {
                QCOMPARE(qsizetype(exported[r].size()), ours.names.size());
                for (qsizetype c = 0; c < ours.names.size(); ++c) {
                    const QString problem = mismatch(ours.values[r][c], exported[r][std::size_t(c)]);
                    QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("%1 row %2, %3: %4")
                                                               .arg(table).arg(r + 1).arg(ours.names[c], problem)));
                }
            }
        }
    }

    void namesWithSpacesAndLettersBeyondAscii()
    {
        Connection &connection = *connections_.at("nwind.mdb");
        QVERIFY(enginesObjects(connection, "table").contains(QStringLiteral("Umsätze")));
        const Rows rows = runOn(connection, QStringLiteral("SELECT count(*) FROM [Umsätze]"));
        QCOMPARE(rows.values.at(0).at(0).toString(),
                 QString::fromUtf8(runMdbTool("mdb-count", {paths_.at("nwind.mdb"), QStringLiteral("Umsätze")})).trimmed());
        // Text in the file's code page: é, ü, ß and the like come through.
        QCOMPARE(firstColumn(runOn(connection, QStringLiteral("SELECT CompanyName FROM Customers WHERE CustomerID = "
                                                              "'FRANS'"))),
                 QStringList({QStringLiteral("Franchi S.p.A.")}));
        QVERIFY(!firstColumn(runOn(connection, QStringLiteral("SELECT City FROM Customers WHERE City = 'München'")))
                     .isEmpty());
    }

    void everySavedQueryIsAViewOrRefusedWithItsReason()
    {
        Connection &connection = *connections_.at("nwind.mdb");
        QStringList listed = lines(runMdbTool("mdb-queries", {"-1", "-L", paths_.at("nwind.mdb")}));
        QStringList known;
        for (const auto &[name, sql] : handWritten())
            known << name;
        for (const auto &[name, construct] : refused())
            known << name;
        QCOMPARE(sorted(listed), sorted(known));
        QStringList views;
        for (const auto &[name, sql] : handWritten())
            views << name;
        QCOMPARE(enginesObjects(connection, "view"), sorted(views));
    }

    void translatedQueriesGiveTheRowsOfTheQueryWrittenByHand_data()
    {
        QTest::addColumn<QString>("query");
        for (const auto &[name, sql] : handWritten())
            QTest::newRow(qPrintable(name)) << name;
    }

    void translatedQueriesGiveTheRowsOfTheQueryWrittenByHand()
    {
        QFETCH(QString, query);
        Connection &connection = *connections_.at("nwind.mdb");
        Rows view, expected;
        try {
            view = runOn(connection, QStringLiteral("SELECT * FROM [%1]").arg(query));
            expected = runOn(connection, onTheTables(handWritten().at(query)));
        } catch (const platform::AppError &e) {
            QFAIL(qPrintable(e.description()));
        }
        QVERIFY2(!expected.values.empty(), "the query written by hand finds nothing: a poor comparison");
        QCOMPARE(view.names.size(), expected.names.size());
        QCOMPARE(canonicalRows(view), canonicalRows(expected));
    }

    void orderAndTopFollowTheQuery()
    {
        Connection &connection = *connections_.at("nwind.mdb");
        const Rows top = runOn(connection, QStringLiteral("SELECT * FROM [Ten Most Expensive Products]"));
        QCOMPARE(top.names, QStringList({"TenMostExpensiveProducts", "UnitPrice"}));
        for (std::size_t i = 1; i < top.values.size(); ++i)
            QVERIFY(top.values[i - 1][1].toDouble() >= top.values[i][1].toDouble());
        const QStringList cities = firstColumn(runOn(connection, QStringLiteral("SELECT City FROM [Customers and Suppliers by City]")));
        QStringList byCity = cities;
        std::stable_sort(byCity.begin(), byCity.end(), [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(cities, byCity);
        // Unnamed columns get Jet's names; columns two tables share, the table's.
        const Rows invoices = runOn(connection, QStringLiteral("SELECT * FROM Invoices WHERE 0"));
        QVERIFY(invoices.names.contains(QStringLiteral("Customers.CompanyName")));
        QVERIFY(invoices.names.contains(QStringLiteral("Shippers.CompanyName")));
        QVERIFY(invoices.names.contains(QStringLiteral("Salesperson")));
    }

    void refusedQueriesAreNamedWithTheReason_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("construct");
        for (const auto &[name, construct] : refused())
            QTest::newRow(qPrintable(name)) << name << construct;
    }

    void refusedQueriesAreNamedWithTheReason()
    {
        QFETCH(QString, query);
        QFETCH(QString, construct);
        const QString statement = QStringLiteral("SELECT * FROM [%1]").arg(query);
        const QString error = errorOf([&] { runOn(*connections_.at("nwind.mdb"), statement); }, ErrStatement);
        QVERIFY2(error.contains(QStringLiteral("saved query %1 cannot be used").arg(query)) && error.contains(construct),
                 qPrintable(error));
    }

    void jet4DatesReadAsMdbReaderReadsThem()
    {
        const QString path = paths_.at("DateTestDatabase.mdb");
        mdbtest::ReaderOptions options;
        options.table = "DateTest";
        const auto tables = mdbtest::readWithMdbReader(path, options);
        QCOMPARE(tables.size(), std::size_t(1));
        const Rows ours = runOn(*connections_.at("DateTestDatabase.mdb"), QStringLiteral("SELECT * FROM DateTest"));
        QCOMPARE(ours.values.size(), tables[0].rows.size());
        int dates = 0;
        for (std::size_t r = 0; r < ours.values.size(); ++r) {
            for (std::size_t c = 0; c < tables[0].columns.size(); ++c) {
                if (tables[0].columns[c].type != "datetime")
                    continue;
                // mdb-reader: 2021-12-02T00:00:00.000Z
                QString theirs = QString::fromStdString(std::get<std::string>(tables[0].rows[r][c]));
                theirs = theirs.left(19).replace('T', ' ');
                QCOMPARE(ours.values[r][qsizetype(c)].toString(), theirs);
                ++dates;
            }
        }
        QVERIFY(dates > 0);
        // Text dates sort as the dates do, across centuries.
        const QStringList sortedDates = firstColumn(runOn(*connections_.at("DateTestDatabase.mdb"),
                                                          QStringLiteral("SELECT DateTimeCol FROM DateTest ORDER BY DateTimeCol")));
        QVERIFY(sortedDates.first().startsWith(QStringLiteral("0632-")));
        QVERIFY(sortedDates.last().startsWith(QStringLiteral("9999-")));
    }

    void accessTwoThousandSevenQueriesAreViews()
    {
        Connection &connection = *connections_.at("ASampleDatabase.accdb");
        const QStringList listed = lines(runMdbTool("mdb-queries", {"-1", "-L", paths_.at("ASampleDatabase.accdb")}));
        QCOMPARE(enginesObjects(connection, "view"), sorted(listed));
        const Rows summed = runOn(connection, QStringLiteral("SELECT * FROM qryCostsSummedByOwner"));
        const Rows byHand = runOn(connection, QStringLiteral("SELECT Owner, [Asset Category], sum(Cost) FROM main.[Asset Items] "
                                                             "GROUP BY Owner, [Asset Category]"));
        QCOMPARE(canonicalRows(summed), canonicalRows(byHand));
        const Rows gst = runOn(connection, QStringLiteral("SELECT [Ex Tax], GST, Cost FROM qryGSTCalculations"));
        for (const QVariantList &row : gst.values)
            QVERIFY(nearlyEqual(row[0].toDouble() + row[1].toDouble(), row[2].toDouble()));
    }

    void accessNinetySevenFileAsPcsMdbFailsOnlyForWhatItLacks()
    {
        QTemporaryDir folder;
        const QString pcs = folder.filePath(QStringLiteral("pcs.mdb"));
        QVERIFY(QFile::copy(paths_.at("nwind.mdb"), pcs));
        Connection connection;
        openFile(connection, pcs);
        const QString keyword = errorOf([&] {
            runOn(connection, "SELECT [Description],ID FROM longpcs where [Description] like '%heart%' order by [Description];");
        }, ErrStatement);
        QVERIFY2(keyword.contains(QStringLiteral("no such table: longpcs")), qPrintable(keyword));
        const QString details = errorOf([&] { runOn(connection, "SELECT * FROM getalldata where ID= 1 ;"); }, ErrStatement);
        QVERIFY2(details.contains(QStringLiteral("no such table: getalldata")), qPrintable(details));
        QCOMPARE(firstColumn(runOn(connection, QStringLiteral("SELECT count(*) FROM Products"))),
                 QStringList({QString::fromUtf8(runMdbTool("mdb-count", {pcs, QStringLiteral("Products")})).trimmed()}));
    }

    // Access keeps each object's properties (captions, formats) as a list of
    // records in the catalog. A record claiming no length made the catalog
    // reading loop until the loader was stopped and the whole file refused;
    // the program never needs those properties, so the file opens whole.
    void aDamagedPropertyListLosesNothing()
    {
        for (const char *name : {"DateTestDatabase.mdb", "ASampleDatabase.accdb"}) {
            QFile original(paths_.at(name));
            QVERIFY(original.open(QIODevice::ReadOnly));
            QByteArray bytes = original.readAll();
            const qsizetype list = bytes.indexOf(QByteArray("MR2\0", 4));
            QVERIFY2(list > 0, name);
            std::fill_n(bytes.begin() + list + 4, 4, '\0'); // the first record's length
            QTemporaryDir folder;
            QFile damaged(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(bytes) == bytes.size());
            damaged.close();
            Connection connection;
            openFile(connection, damaged.fileName());
            QCOMPARE(enginesObjects(connection, "table"), enginesObjects(*connections_.at(name), "table"));
        }
    }

    void cleanupTestCase() { connections_.clear(); }

private:
    QTemporaryDir dir_;
    std::map<QString, QString> paths_;
    std::map<QString, std::unique_ptr<Connection>> connections_;
};

QTEST_GUILESS_MAIN(AccessFilesTest)
#include "tst_db_access_files.moc"
