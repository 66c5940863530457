// Files written by JetWriter must read back value for value through libmdb,
// mdb-reader and the mdbtools programs.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <climits>

#include "mdb/FileHeader.h"
#include "mdb/Rc4.h"
#include "tests/mdb/MdbCliTools.h"
#include "tests/mdb/MdbReaderJs.h"
#include "tests/mdb/ReadBackChecks.h"
#include "tests/mdb/TableData.h"

using namespace mdbtest;
using mdb::ColumnDefinition;
using mdb::ColumnType;
using mdb::Value;

namespace {

const Value Null{};

std::string repeat(const std::string &piece, int times)
{
    std::string text;
    for (int n = 0; n < times; ++n)
        text += piece;
    return text;
}

// Lengths of the rows on long-value pages, which show how each memo was stored.
std::vector<int> longValueRowLengths(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<int> lengths;
    const auto u16 = [&](qsizetype at) { return int(quint8(bytes[at])) | int(quint8(bytes[at + 1])) << 8; };
    for (qsizetype page = 0; page + 4096 <= bytes.size(); page += 4096) {
        if (bytes[page] != 0x01 || bytes.mid(page + 4, 4) != "LVAL")
            continue;
        int end = 4096;
        for (int row = 0; row < u16(page + 12); ++row) {
            const int start = u16(page + 14 + 2 * row) & 0x1FFF;
            lengths.push_back(end - start);
            end = start;
        }
    }
    std::sort(lengths.begin(), lengths.end());
    return lengths;
}

#define VERIFY_EVERYWHERE(path, tables)                                   \
    do {                                                                  \
        const QString libmdb = checkWithLibmdb(path, tables);             \
        QVERIFY2(libmdb.isEmpty(), qPrintable(libmdb));                   \
        const QString reader = checkWithMdbReader(path, tables);          \
        QVERIFY2(reader.isEmpty(), qPrintable(reader));                   \
        const QString tools = checkWithCliTools(path, tables);            \
        QVERIFY2(tools.isEmpty(), qPrintable(tools));                     \
    } while (false)

} // namespace

class JetWriterRoundTrip : public QObject {
    Q_OBJECT

private slots:
    // A fresh folder per test, so that each can check what it leaves behind.
    void init()
    {
        temporary = std::make_unique<QTemporaryDir>();
        QVERIFY(temporary->isValid());
    }

    void mixedValuesNullsAndNamesReadBackEverywhere()
    {
        TableData mixed{"procédure détails",
                        {{"ID", ColumnType::Long},
                         {"Näme", ColumnType::Text, 255},
                         {"character 1", ColumnType::Text, 1},
                         {"notes", ColumnType::Memo},
                         {"count", ColumnType::Long},
                         {"code", ColumnType::Text, 7}},
                        {}};
        mixed.rows = {
            {1, "café", "0", "", 7, "0DB12ZX"},
            {Null, Null, Null, Null, Null, Null},
            {INT_MIN, "", "é", "", INT_MAX, ""},
            {-1, "Ā starts with U+0100", "—", "Ā", 0, "x"},
            {0, "\u2000 after U+2000, then 日本語", "Ā", "— é —", Null, "日本語"},
            {2, std::string(255, 'z'), "Z", "tab\tand\nnewline", -5, "abcdefg"},
            {3, repeat("—", 255), Null, repeat("é—", 30000), 1, Null},  // mdb-export cuts at 200,000 bytes
            {4, "quotes \"and\", commas", "\"", Null, 9, ",;'"},
            {5, "ÿ Latin-1 only ü", "ÿ", repeat("memo ", 30), 10, "ÄÖÜ"},
            {6, "C1 controls \u0085\u0099 and \u00a0", "\u0085", "\u0085", 11, "\u0099"},
            // Plainly stored, a leading U+FEFF would look like the compression mark.
            {7, "\uFEFF", "\uFEFF", "\uFEFF" + repeat("x", 2000), 12, "\uFEFFé—"},
            {8, "\uFEFFabc", "a", "\uFEFF", 13, "\uFEFF"},
        };
        TableData numbers{"ids", {{"ID", ColumnType::Long}}, {}};
        for (int n = 0; n < 3000; ++n)
            numbers.rows.push_back({n % 11 == 0 ? Null : Value{n * 7919}});
        TableData empty{"empty tablé", {{"a", ColumnType::Text, 10}, {"b", ColumnType::Memo}}, {}};
        TableData textOnly{"longpcs", {{"Description", ColumnType::Text, 255}, {"ID", ColumnType::Long}}, {}};
        for (int n = 0; n < 500; ++n)
            textOnly.rows.push_back({"row " + std::to_string(n) + (n % 3 ? " é" : ""), n});

        const std::vector<TableData> tables{mixed, numbers, empty, textOnly};
        const QString path = dir().filePath("mixed.mdb");
        writeDatabase(path, tables);
        VERIFY_EVERYWHERE(path, tables);
    }

    void memoValuesUseEachStorageKind()
    {
        // Stored lengths: ASCII compresses to 2 + n bytes up to 1024
        // characters, longer memos stay 2 bytes per character.
        TableData memos{"memos", {{"n", ColumnType::Long}, {"memo", ColumnType::Memo}}, {}};
        const std::vector<std::pair<int, std::string>> values{
            {1, ""},                        // inline, empty
            {2, std::string(62, 'a')},      // 64 bytes: inline
            {3, std::string(63, 'b')},      // 65 bytes: one LVAL row
            {4, std::string(1024, 'c')},    // 1026 bytes, still compressed
            {5, std::string(1025, 'd')},    // 2050 bytes: too long to compress
            {6, std::string(2038, 'e')},    // 4076 bytes: the largest single row
            {7, std::string(2039, 'f')},    // 4078 bytes: a chain of two links
            {8, std::string(5000, 'g')},    // 10000 bytes: three links
        };
        for (const auto &[n, text] : values)
            memos.rows.push_back({n, text});
        const std::vector<TableData> tables{memos};
        const QString path = dir().filePath("memos.mdb");
        writeDatabase(path, tables);

        // Chain links are 4 bytes of next pointer and up to 4072 bytes of value.
        const std::vector<int> expected{10, 65, 1026, 1860, 2050, 4076, 4076, 4076, 4076};
        QCOMPARE(longValueRowLengths(path), expected);
        VERIFY_EVERYWHERE(path, tables);
    }

    void definitionSpanningSeveralPagesReadsBack()
    {
        TableData wide{"wide", {}, {Row{}}};
        for (int n = 0; n < 200; ++n) {
            std::string name = "column " + std::to_string(n) + " ";
            name += std::string(64 - name.size(), 'x');
            wide.columns.push_back({name, n % 2 ? ColumnType::Long : ColumnType::Text, 5});
            wide.rows[0].push_back(n % 2 ? Value{n} : (n % 3 ? Value{"v" + std::to_string(n)} : Null));
        }
        const std::vector<TableData> tables{wide, {"after", {{"x", ColumnType::Long}}, {{42}}}};
        const QString path = dir().filePath("wide.mdb");
        writeDatabase(path, tables);
        VERIFY_EVERYWHERE(path, tables);
    }

    void databaseWithoutTablesReadsBack()
    {
        const QString path = dir().filePath("nothing.mdb");
        writeDatabase(path, {});
        VERIFY_EVERYWHERE(path, {});
    }

    void manyTablesReadBack()
    {
        // Enough tables for the catalog and the usage maps to need several pages each.
        std::vector<TableData> tables;
        for (int n = 0; n < 120; ++n)
            tables.push_back({"table " + std::to_string(n) + (n % 2 ? " é" : ""),
                              {{"n", ColumnType::Long}, {"text", ColumnType::Text, 10}},
                              {{n, "row of " + std::to_string(n)}, {Null, Null}}});
        const QString path = dir().filePath("many.mdb");
        writeDatabase(path, tables);
        const QString libmdb = checkWithLibmdb(path, tables);
        QVERIFY2(libmdb.isEmpty(), qPrintable(libmdb));
        const QString reader = checkWithMdbReader(path, tables);
        QVERIFY2(reader.isEmpty(), qPrintable(reader));
        QStringList names;
        for (const TableData &table : tables)
            names << QString::fromStdString(table.name);
        try {
            QCOMPARE(QString::fromUtf8(runMdbTool("mdb-tables", {"-1", path})).split('\n', Qt::SkipEmptyParts), names);
        } catch (const std::exception &error) {
            QFAIL(error.what());
        }
    }

    void charactersBeyondTheBasicPlaneReadBackThroughMdbReader()
    {
        // Stored as surrogate pairs; libmdb converts with UCS-2 and prints
        // "??" for them, so only mdb-reader can confirm them.
        TableData emoji{"emoji", {{"text", ColumnType::Text, 20}, {"memo", ColumnType::Memo}},
                        {{"smile 😀", "😀 " + repeat("é", 1100) + " 𝄞"}, {"𝄞", "𝄞"}}};
        const QString path = dir().filePath("emoji.mdb");
        writeDatabase(path, {emoji});
        std::vector<ReaderTable> read;
        try {
            read = readWithMdbReader(path);
        } catch (const std::exception &error) {
            QFAIL(error.what());
        }
        QCOMPARE(read.size(), std::size_t(1));
        QCOMPARE(compareRows(read[0].rows, emoji.rows, "emoji"), QString());
    }

    void headerBlockIsMaskedWithJetsKeystream()
    {
        std::array<std::uint8_t, 8> zeros{};
        mdb::Rc4 rc4(mdb::kHeaderMaskKey.data(), mdb::kHeaderMaskKey.size());
        rc4.apply(zeros.data(), zeros.size());
        const std::array<std::uint8_t, 8> keystream{0xb5, 0x6f, 0x03, 0x62, 0x61, 0x08, 0xc2, 0x55};
        QCOMPARE(zeros, keystream);

        // Unmasked, the page-encryption key must be 0 or readers would
        // decrypt every page.
        mdb::Page header = mdb::buildFileHeaderPage();
        mdb::Rc4 unmask(mdb::kHeaderMaskKey.data(), mdb::kHeaderMaskKey.size());
        unmask.apply(&header[0x18], 128);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&header[0x3E]), 4), QByteArray(4, '\0'));
        QCOMPARE(header[0x14], std::uint8_t(1));
    }

private:
    QDir dir() const { return QDir(temporary->path()); }
    std::unique_ptr<QTemporaryDir> temporary;
};

QTEST_GUILESS_MAIN(JetWriterRoundTrip)
#include "tst_jetwriter_roundtrip.moc"
