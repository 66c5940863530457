// The rows of a Jet file read on a thread of their own reach the copy exactly
// as a plain loop reads them: every table in order, batch boundaries unseen,
// a damaged file failing at the same row with the same message, and a copy
// that gives up early not left waiting on the reading thread.

#include "platform/db/jet/JetReader.h"
#include "platform/db/jet/JetTableStream.h"

#include "mdb/JetWriter.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <iterator>

using namespace platform::db;

namespace {

// What a reading delivered: per table its name and rows, then the failure.
struct Reading {
    std::vector<std::string> tables;
    std::vector<std::string> rows; // "table|value|value..." in reading order
    std::string failure;
};

std::string rowText(const std::string &table, const std::vector<JetValue> &values)
{
    std::string text = table;
    for (const JetValue &v : values)
        text += '|' + std::to_string(int(v.kind)) + ':' + std::to_string(v.integer) + ':' + v.bytes;
    return text;
}

Reading readPlainly(std::string_view bytes)
{
    Reading r;
    try {
        JetFile file(bytes);
        for (std::size_t i = 0; i < file.userTableCount(); ++i) {
            JetTable table(file, i);
            r.tables.push_back(table.name());
            while (table.nextRow())
                r.rows.push_back(rowText(table.name(), table.values()));
        }
    } catch (const std::exception &e) {
        r.failure = e.what();
    }
    return r;
}

Reading readStreamed(std::string_view bytes)
{
    Reading r;
    try {
        JetFile file(bytes);
        JetTableStream stream(file);
        while (const JetRowBatch *batch = stream.next()) {
            if (batch->tableBegins)
                r.tables.push_back(batch->tableName);
            for (std::size_t i = 0; i < batch->count; ++i)
                r.rows.push_back(rowText(r.tables.back(), batch->rows[i]));
        }
    } catch (const std::exception &e) {
        r.failure = e.what();
    }
    return r;
}

std::string readAll(const QString &path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

class DbTableStreamTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        const QString path = dir_.filePath(QStringLiteral("stream.mdb"));
        mdb::JetWriter writer(path.toStdString());
        // Rows of varying length, in numbers that end a batch exactly, cross
        // several, and none at all.
        const auto many = writer.addTable("many", {{"ID", mdb::ColumnType::Long}, {"Text", mdb::ColumnType::Text, 255},
                                                   {"Note", mdb::ColumnType::Memo}});
        for (int i = 0; i < 1500; ++i)
            writer.appendRow(many, {i, std::string(std::size_t(i % 200), char('a' + i % 26)),
                                    i % 7 ? mdb::Value(std::string("note ") + std::to_string(i)) : mdb::Value()});
        writer.addTable("empty", {{"ID", mdb::ColumnType::Long}});
        const auto exact = writer.addTable("exact", {{"ID", mdb::ColumnType::Long}});
        for (int i = 0; i < 512; ++i)
            writer.appendRow(exact, {i});
        writer.finish();
        bytes_ = readAll(path);
        QVERIFY(!bytes_.empty());
    }

    void everyTableAndRowInOrder()
    {
        const Reading plain = readPlainly(bytes_);
        QVERIFY2(plain.failure.empty(), plain.failure.c_str());
        QCOMPARE(plain.tables, (std::vector<std::string>{"many", "empty", "exact"}));
        QCOMPARE(plain.rows.size(), std::size_t(1500 + 512));
        const Reading streamed = readStreamed(bytes_);
        QVERIFY2(streamed.failure.empty(), streamed.failure.c_str());
        QCOMPARE(streamed.tables, plain.tables);
        QCOMPARE(streamed.rows, plain.rows);
    }

    // Whatever the damage, the stream delivers what a plain loop reads up to
    // its failure, and then the same failure.
    void damageSurfacesWhereAPlainLoopMeetsIt()
    {
        int failures = 0;
        for (std::size_t keep = 4096; keep < bytes_.size(); keep += 4096 + 1111) {
            const std::string_view truncated(bytes_.data(), keep);
            const Reading plain = readPlainly(truncated);
            const Reading streamed = readStreamed(truncated);
            QCOMPARE(streamed.failure, plain.failure);
            QCOMPARE(streamed.tables, plain.tables);
            QCOMPARE(streamed.rows, plain.rows);
            failures += plain.failure.empty() ? 0 : 1;
        }
        QVERIFY(failures > 0);
    }

    // A copy that fails on the first rows (SQLite refusing a name, say) stops
    // reading: ending the stream with its reader waiting for room must not
    // wait for ever.
    void givingUpEarlyEndsTheReader()
    {
        for (int handed = 0; handed < 3; ++handed) {
            JetFile file(bytes_);
            JetTableStream stream(file);
            for (int i = 0; i < handed; ++i)
                QVERIFY(stream.next());
        }
    }

private:
    QTemporaryDir dir_;
    std::string bytes_;
};

QTEST_GUILESS_MAIN(DbTableStreamTest)
#include "tst_db_table_stream.moc"
