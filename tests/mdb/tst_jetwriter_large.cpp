// Large files: hundreds of thousands of rows, tables spread over far more
// pages than an inline usage map can list. A wrong map loses rows silently,
// so every row is compared and every count checked.

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/mdb/LibmdbReader.h"
#include "tests/mdb/MdbCliTools.h"
#include "tests/mdb/MdbReaderJs.h"
#include "tests/mdb/TableData.h"

using namespace mdbtest;
using mdb::ColumnDefinition;
using mdb::ColumnType;
using mdb::Value;

namespace {

const std::vector<ColumnDefinition> kBigColumns{{"ID", ColumnType::Long},
                                          {"Description", ColumnType::Text, 255},
                                          {"code", ColumnType::Text, 7},
                                          {"note", ColumnType::Memo}};

// Row n of the 200,000-row table: long texts (so the file passes 50 MB),
// some that cannot be compressed, Nulls and empty values in every column,
// now and then a memo stored outside the row.
Row bigRow(int n)
{
    static const std::string filler = [] {
        std::string text;
        for (int k = 0; text.size() < 600; ++k)
            text += "Drainage of vein " + std::to_string(k * 37 % 1000) + ", open approach; ";
        return text;
    }();
    Row row;
    if (n % 1009 == 0)
        row.emplace_back();
    else
        row.emplace_back(n);
    std::string description = "Row " + std::to_string(n) + " ";
    description += filler.substr(std::size_t(n % 200), 230);
    if (n % 97 == 0)
        description = "é—Ā " + description.substr(0, 200);
    row.push_back(description);
    static const char *letters = "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    std::string code;
    for (int k = 0, v = n; k < 7; ++k, v /= 34)
        code += letters[v % 34];
    if (n % 13 == 0)
        row.emplace_back();
    else
        row.emplace_back(n % 17 == 0 ? std::string() : code);
    if (n % 1001 == 0)
        row.emplace_back(std::string(3000, char('a' + n % 26)));
    else if (n % 5 == 0)
        row.emplace_back("note " + std::to_string(n));
    else
        row.emplace_back();
    return row;
}

// The last complete line of mdb-export's output, parsed.
Row lastExportedRow(const QByteArray &csv, const std::vector<ColumnDefinition> &columns)
{
    const QByteArray trimmed = csv.trimmed();
    const QByteArray header = trimmed.left(trimmed.indexOf('\n') + 1);
    const std::vector<Row> rows = parseExportCsv(header + trimmed.mid(trimmed.lastIndexOf('\n') + 1), columns);
    return rows.empty() ? Row{} : rows.back();
}

#define TRY(statement)                                         \
    try {                                                      \
        statement;                                             \
    } catch (const std::exception &error) {                    \
        QFAIL(error.what());                                   \
    }

} // namespace

class JetWriterLarge : public QObject {
    Q_OBJECT

private slots:
    // A fresh folder per test, so that each can check what it leaves behind.
    void init()
    {
        temporary = std::make_unique<QTemporaryDir>();
        QVERIFY(temporary->isValid());
    }

    void twoHundredThousandRowsReadBackExactly()
    {
        constexpr int kRows = 200000;
        const QString path = dir().filePath("big.mdb");
        RowDigest expectedDigest;
        {
            mdb::JetWriter writer(path.toStdString());
            const auto table = writer.addTable("big table", kBigColumns);
            for (int n = 0; n < kRows; ++n) {
                const Row row = bigRow(n);
                expectedDigest.add(row);
                writer.appendRow(table, row);
            }
            writer.finish();
        }
        QVERIFY2(QFileInfo(path).size() > 50 * 1024 * 1024, qPrintable(QString::number(QFileInfo(path).size())));

        int libmdbRows = 0;
        QString libmdbDifference;
        // Every value is shorter than 16 KB of UTF-8.
        TRY(LibmdbFile(path, 16384).forEachRow("big table", [&](const Row &row) {
            if (libmdbDifference.isEmpty() && row != asLibmdbSeesIt(bigRow(libmdbRows), kBigColumns))
                libmdbDifference = QString("libmdb row %1: %2").arg(libmdbRows + 1).arg(describe(row[1]));
            ++libmdbRows;
        }));
        QVERIFY2(libmdbDifference.isEmpty(), qPrintable(libmdbDifference));
        QCOMPARE(libmdbRows, kRows);

        std::vector<ReaderTable> read;
        TRY(read = readWithMdbReader(path, {true, std::nullopt}));
        QCOMPARE(read.size(), std::size_t(1));
        QCOMPARE(read[0].rowCount, kRows);
        QCOMPARE(read[0].dataRows, kRows);
        QCOMPARE(read[0].digest, expectedDigest.hex());

        QByteArray exported;
        TRY(QCOMPARE(runMdbTool("mdb-count", {path, "big table"}).trimmed(), QByteArray::number(kRows)));
        TRY(exported = runMdbTool("mdb-export", {path, "big table"}));
        QCOMPARE(exported.count('\n'), kRows + 1);
        TRY(QCOMPARE(lastExportedRow(exported, kBigColumns), asLibmdbSeesIt(bigRow(kRows - 1), kBigColumns)));
    }

    void tableSpreadOverMoreThanOneBitmapPageReadsBack()
    {
        // Each "scattered" row fills a page; a megabyte memo in "filler"
        // between two of them pushes the next page some 260 pages further,
        // so "scattered" spans more pages than one bitmap page covers.
        constexpr int kRows = 140;
        std::vector<ColumnDefinition> wideColumns;
        for (int c = 1; c <= 7; ++c)
            wideColumns.push_back({"text " + std::to_string(c), ColumnType::Text, 255});
        TableData scattered{"scattered", wideColumns, {}};
        const QString path = dir().filePath("scattered.mdb");
        {
            mdb::JetWriter writer(path.toStdString());
            const auto wide = writer.addTable(scattered.name, wideColumns);
            const auto filler = writer.addTable("filler", {{"memo", ColumnType::Memo}});
            const std::string megabyte(512 * 1024, 'x');
            for (int n = 0; n < kRows; ++n) {
                Row row;
                for (int c = 0; c < 7; ++c) {
                    std::string text = std::to_string(n) + "/" + std::to_string(c) + " ";
                    while (text.size() < 255 * 2)
                        text += "—";
                    row.push_back(text);
                }
                scattered.rows.push_back(row);
                writer.appendRow(wide, row);
                writer.appendRow(filler, {megabyte});
            }
            writer.finish();
        }
        QVERIFY(QFileInfo(path).size() / 4096 > 34000);

        TRY(QCOMPARE(LibmdbFile(path).rows("scattered"), scattered.rows));
        std::vector<ReaderTable> read;
        TRY(read = readWithMdbReader(path, {false, std::string("scattered")}));
        QCOMPARE(read.size(), std::size_t(1));
        QCOMPARE(read[0].rowCount, kRows);
        QCOMPARE(compareRows(read[0].rows, scattered.rows, "scattered"), QString());
        TRY(QCOMPARE(parseExportCsv(runMdbTool("mdb-export", {path, "scattered"}), wideColumns), scattered.rows));
        TRY(QCOMPARE(runMdbTool("mdb-count", {path, "filler"}).trimmed(), QByteArray::number(kRows)));
    }

private:
    QDir dir() const { return QDir(temporary->path()); }
    std::unique_ptr<QTemporaryDir> temporary;
};

QTEST_GUILESS_MAIN(JetWriterLarge)
#include "tst_jetwriter_large.moc"
