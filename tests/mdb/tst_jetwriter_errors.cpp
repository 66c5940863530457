// Bad input gets an error naming table, column and row and leaves no trace;
// the file appears only when complete; a full disk is reported, not hidden.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "mdb/InterruptCleanup.h"
#include "tests/mdb/LibmdbReader.h"
#include "tests/mdb/MdbCliTools.h"
#include "tests/mdb/MdbReaderJs.h"
#include "tests/mdb/TableData.h"

using namespace mdbtest;
using mdb::ColumnDefinition;
using mdb::ColumnType;
using mdb::JetWriter;
using mdb::Value;
using mdb::WriterError;

Q_DECLARE_METATYPE(mdbtest::Row)
Q_DECLARE_METATYPE(std::vector<mdb::ColumnDefinition>)

namespace {

const std::vector<ColumnDefinition> kColumns{{"ID", ColumnType::Long},
                                       {"Description", ColumnType::Text, 255},
                                       {"code", ColumnType::Text, 7},
                                       {"notes", ColumnType::Memo},
                                       {"character 1", ColumnType::Text, 1}};

void verifyMentions(const QString &message, const QStringList &fragments)
{
    for (const QString &fragment : fragments)
        QVERIFY2(message.contains(fragment), qPrintable("\"" + fragment + "\" missing from: " + message));
}

QStringList entries(const QString &folder) { return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }

QStringList tablesIn(const QString &path)
{
    return QString::fromUtf8(runMdbTool("mdb-tables", {"-1", path})).split('\n', Qt::SkipEmptyParts);
}

void writeSingleTable(const QString &path, const std::string &table)
{
    writeDatabase(path, {{table, {{"n", ColumnType::Long}}, {{1}, {2}}}});
}

} // namespace

class JetWriterErrors : public QObject {
    Q_OBJECT

private slots:
    // A fresh folder per test, so that each can check what it leaves behind.
    void init()
    {
        temporary = std::make_unique<QTemporaryDir>();
        QVERIFY(temporary->isValid());
    }

    void badRowIsRejectedAndLeavesNoTrace_data()
    {
        QTest::addColumn<Row>("row");
        QTest::addColumn<QStringList>("mentions");
        const std::string memo(5000, 'x');  // would need LVAL pages if stored
        QTest::newRow("text too long") << Row{3, "d", "12345678", memo, "a"}
                                       << QStringList{"column \"code\"", "8 characters", "longer than the column's 7"};
        QTest::newRow("characters, not bytes") << Row{3, "d", "c", memo, "éé"}
                                               << QStringList{"column \"character 1\"", "2 characters"};
        QTest::newRow("too few values") << Row{3, "d", "c", memo}
                                        << QStringList{"4 values given for 5 columns"};
        QTest::newRow("too many values") << Row{3, "d", "c", memo, "a", "b"}
                                         << QStringList{"6 values given for 5 columns"};
        QTest::newRow("text for a Long") << Row{"12", "d", "c", memo, "a"}
                                         << QStringList{"column \"ID\"", "text given for a Long Integer column"};
        QTest::newRow("number for text") << Row{3, 5, "c", memo, "a"}
                                         << QStringList{"column \"Description\"", "a Long Integer given for a Text column"};
        QTest::newRow("number for memo") << Row{3, "d", "c", 7, "a"}
                                         << QStringList{"column \"notes\"", "a Long Integer given for a Memo column"};
        QTest::newRow("invalid UTF-8") << Row{3, "d", "c", memo, "\xC3\x28"}
                                       << QStringList{"column \"character 1\"", "not valid UTF-8"};
        QTest::newRow("encoded surrogate") << Row{3, "\xED\xA0\x80", "c", memo, "a"}
                                           << QStringList{"column \"Description\"", "not valid UTF-8"};
        QTest::newRow("memo over 16 MB") << Row{3, "d", "c", std::string(8 * 1024 * 1024, 'm'), "a"}
                                         << QStringList{"column \"notes\"", "16777216 bytes", "16777215"};
        QTest::newRow("U+FEFF then U+0100") << Row{3, "\uFEFF and \u0100", "c", memo, "a"}
                                            << QStringList{"column \"Description\"", "U+FEFF", "U+0100"};
        QTest::newRow("NUL character") << Row{3, "d", std::string("a\0b", 3), memo, "a"}
                                       << QStringList{"column \"code\"", "NUL"};
    }

    void badRowIsRejectedAndLeavesNoTrace()
    {
        QFETCH(Row, row);
        QFETCH(QStringList, mentions);
        const QString path = dir().filePath("rows.mdb");
        {
            JetWriter writer(path.toStdString());
            const auto table = writer.addTable("getalldata", kColumns);
            const auto numbers = writer.addTable("numbers", {{"n", ColumnType::Long}});
            writer.appendRow(table, {1, "a", "b", "", "c"});
            writer.appendRow(table, {2, "a", "b", "short memo", Value{}});
            writer.appendRow(numbers, {1});
            const QString message = errorOf([&] { writer.appendRow(table, row); });
            verifyMentions(message, QStringList{"Table \"getalldata\"", "row 3"} + mentions);
            // The writer goes on; the next row takes the rejected row's number.
            writer.appendRow(table, {3, "a", "b", "", "c"});
            QVERIFY(errorOf([&] { writer.appendRow(table, {4}); }).contains("row 4"));
            writer.finish();
        }
        std::vector<ReaderTable> read;
        try {
            read = readWithMdbReader(path, {false, std::string("getalldata")});
        } catch (const std::exception &error) {
            QFAIL(error.what());
        }
        QCOMPARE(read.size(), std::size_t(1));
        QCOMPARE(read[0].rowCount, 3);
        QCOMPARE(read[0].rows.back(), (Row{3, "a", "b", "", "c"}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(!file.readAll().contains("LVAL"), "a rejected row's memo was stored");
    }

    void rowSizeLimitIsExact()
    {
        // Nine Text(255) columns: 2 bytes of column count, then the data, then
        // 2 + 2 * 9 + 2 bytes of offsets and counts and a 2-byte null mask.
        // Seven full columns of "—" (2 bytes each, never compressed) take
        // 3570 bytes; 230 more "—" take 460. The last column decides:
        // "ab" stays plain (4 bytes), giving 4060; "abc" compresses to
        // 5 bytes, giving 4061.
        std::vector<ColumnDefinition> columns;
        for (int c = 1; c <= 9; ++c)
            columns.push_back({"text " + std::to_string(c), ColumnType::Text, 255});
        const auto dashes = [](int count) {
            std::string text;
            for (int k = 0; k < count; ++k)
                text += "—";
            return text;
        };
        Row largest;
        for (int c = 0; c < 7; ++c)
            largest.emplace_back(dashes(255));
        largest.emplace_back(dashes(230));
        largest.emplace_back(std::string("ab"));
        Row tooLarge = largest;
        tooLarge[8] = std::string("abc");
        Row small(9);
        small[0] = std::string("small");

        TableData table{"wide rows", columns, {small, largest, small, largest, largest}};
        const QString path = dir().filePath("wide.mdb");
        {
            JetWriter writer(path.toStdString());
            const auto handle = writer.addTable(table.name, columns);
            writer.appendRow(handle, small);
            writer.appendRow(handle, largest);
            verifyMentions(errorOf([&] { writer.appendRow(handle, tooLarge); }),
                           {"Table \"wide rows\"", "row 3", "column \"text 1\"", "4061 bytes", "4060"});
            for (const Row &row : {small, largest, largest})
                writer.appendRow(handle, row);
            writer.finish();
        }
        try {
            QCOMPARE(LibmdbFile(path).rows(table.name), asLibmdbSeesIt(table));
            const std::vector<ReaderTable> read = readWithMdbReader(path);
            QCOMPARE(read.size(), std::size_t(1));
            QCOMPARE(compareRows(read[0].rows, table.rows, table.name), QString());
        } catch (const std::exception &error) {
            QFAIL(error.what());
        }
    }

    void badDeclarationIsRejected_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<std::vector<ColumnDefinition>>("columns");
        QTest::addColumn<QStringList>("mentions");
        const std::vector<ColumnDefinition> one{{"n", ColumnType::Long}};
        const std::string name64(64, 'n');
        QTest::newRow("empty table name") << "" << one << QStringList{"Table name \"\"", "empty"};
        QTest::newRow("long table name") << QString::fromStdString(name64 + "x") << one
                                         << QStringList{"longer than 64 characters"};
        QTest::newRow("duplicate table name") << "CODES" << one << QStringList{"\"CODES\"", "more than once"};
        QTest::newRow("catalog's name") << "msysobjects" << one << QStringList{"\"msysobjects\"", "more than once"};
        QTest::newRow("forbidden character") << "a.b" << one << QStringList{"\"a.b\"", "one of . ! ` [ ]"};
        QTest::newRow("leading space") << " t" << one << QStringList{"starts with a space"};
        QTest::newRow("leading U+FEFF") << "t" << std::vector<ColumnDefinition>{{"\uFEFFc", ColumnType::Long}}
                                        << QStringList{"Table \"t\", column 1", "starts with U+FEFF"};
        QTest::newRow("no columns") << "t" << std::vector<ColumnDefinition>{} << QStringList{"Table \"t\"", "no columns"};
        QTest::newRow("empty column name") << "t" << std::vector<ColumnDefinition>{{"a", ColumnType::Long}, {"", ColumnType::Long}}
                                           << QStringList{"Table \"t\", column 2", "empty"};
        QTest::newRow("duplicate column") << "t" << std::vector<ColumnDefinition>{{"Code", ColumnType::Long}, {"code", ColumnType::Memo}}
                                          << QStringList{"Table \"t\"", "\"code\"", "more than once"};
        QTest::newRow("long column name") << "t" << std::vector<ColumnDefinition>{{name64 + "é", ColumnType::Long}}
                                          << QStringList{"Table \"t\", column 1", "longer than 64"};
        QTest::newRow("text length 0") << "t" << std::vector<ColumnDefinition>{{"c", ColumnType::Text, 0}}
                                       << QStringList{"column \"c\"", "text length 0", "1 to 255"};
        QTest::newRow("text length 256") << "t" << std::vector<ColumnDefinition>{{"c", ColumnType::Text, 256}}
                                         << QStringList{"column \"c\"", "text length 256"};
        std::vector<ColumnDefinition> tooMany;
        for (int c = 0; c < 256; ++c)
            tooMany.push_back({"c" + std::to_string(c), ColumnType::Long});
        QTest::newRow("256 columns") << "t" << tooMany << QStringList{"256 columns", "at most 255"};
    }

    void badDeclarationIsRejected()
    {
        QFETCH(QString, table);
        QFETCH(std::vector<ColumnDefinition>, columns);
        QFETCH(QStringList, mentions);
        JetWriter writer(dir().filePath("names.mdb").toStdString());
        writer.addTable("codes", {{"n", ColumnType::Long}});
        verifyMentions(errorOf([&] { writer.addTable(table.toStdString(), columns); }), mentions);
        // Names at the limit, with spaces and outside ASCII, are fine.
        const std::string longest = "é " + std::string(62, 'x');
        writer.addTable(longest, {{longest, ColumnType::Text, 255}});
        writer.finish();
        QCOMPARE(tablesIn(dir().filePath("names.mdb")), (QStringList{"codes", QString::fromStdString(longest)}));
    }

    void fileAppearsOnlyWhenComplete()
    {
        const QString path = dir().filePath("pcs.mdb");
        {
            JetWriter writer(path.toStdString());
            writer.addTable("t", {{"n", ColumnType::Long}});
            const QStringList during = entries(dir().path());
            QCOMPARE(during.size(), 1);
            QVERIFY2(during[0].startsWith("pcs.mdb.tmp"), qPrintable(during[0]));
        }
        QCOMPARE(entries(dir().path()), QStringList{});  // abandoned: nothing left

        writeSingleTable(path, "old");
        {
            JetWriter writer(path.toStdString());
            const auto table = writer.addTable("new", {{"n", ColumnType::Long}});
            for (int n = 0; n < 10000; ++n)
                writer.appendRow(table, {n});
        }
        QCOMPARE(entries(dir().path()), QStringList{"pcs.mdb"});
        QCOMPARE(tablesIn(path), QStringList{"old"});

        writeSingleTable(path, "new");
        QCOMPARE(entries(dir().path()), QStringList{"pcs.mdb"});
        QCOMPARE(tablesIn(path), QStringList{"new"});
        // An ordinary document: readable by others unless the umask says no.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        QCOMPARE(bool(QFile::permissions(path) & QFileDevice::ReadOther), !(mask & S_IROTH));
    }

    void misuseIsReported()
    {
        verifyMentions(errorOf([&] { JetWriter writer(dir().filePath("no such folder/pcs.mdb").toStdString()); }),
                       {"no such folder/pcs.mdb", std::strerror(ENOENT)});

        // The rename cannot replace a folder; the temporary file goes.
        QVERIFY(dir().mkdir("taken.mdb"));
        verifyMentions(errorOf([&] { writeSingleTable(dir().filePath("taken.mdb"), "t"); }),
                       {"taken.mdb", std::strerror(EISDIR)});
        QCOMPARE(entries(dir().path()), QStringList{"taken.mdb"});

        JetWriter writer(dir().filePath("once.mdb").toStdString());
        const auto table = writer.addTable("t", {{"n", ColumnType::Long}});
        verifyMentions(errorOf([&] { writer.appendRow(table + 1, {1}); }), {"No table with handle"});
        writer.finish();
        verifyMentions(errorOf([&] { writer.finish(); }), {"already finished"});
        verifyMentions(errorOf([&] { writer.appendRow(table, {1}); }), {"already finished"});
        verifyMentions(errorOf([&] { writer.addTable("u", {{"n", ColumnType::Long}}); }), {"already finished"});
    }

    void fullDiskIsReportedAndPreviousFileKept()
    {
        // A child process limited to 1 MB files stands in for a full disk:
        // with SIGXFSZ ignored, writes past the limit fail with EFBIG.
        const QString path = dir().filePath("pcs.mdb");
        writeSingleTable(path, "previous");
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::ReadOnly));
        const QByteArray before = previous.readAll();
        previous.close();

        int channel[2];
        QVERIFY(::pipe(channel) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(channel[0]);
            const rlimit limit{1 << 20, 1 << 20};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
            std::string message = "(no WriterError)";
            try {
                JetWriter writer(path.toStdString());
                const auto table = writer.addTable("big", {{"text", ColumnType::Text, 255}});
                for (int n = 0; n < 20000; ++n)
                    writer.appendRow(table, {std::string(200, char('a' + n % 26))});
                writer.finish();
            } catch (const WriterError &error) {
                message = error.what();
            }
            [[maybe_unused]] const ssize_t written = ::write(channel[1], message.data(), message.size());
            ::_exit(0);
        }
        ::close(channel[1]);
        QByteArray message;
        char buffer[512];
        for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
            message.append(buffer, got);
        ::close(channel[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);

        verifyMentions(QString::fromUtf8(message), {path, std::strerror(EFBIG)});
        QCOMPARE(entries(dir().path()), QStringList{"pcs.mdb"});
        QVERIFY(previous.open(QIODevice::ReadOnly));
        QCOMPARE(previous.readAll(), before);
    }

    void interruptLeavesPreviousFileAndNoTemporary_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void interruptLeavesPreviousFileAndNoTemporary()
    {
        QFETCH(int, signal);
        const QString path = dir().filePath("pcs.mdb");
        writeSingleTable(path, "previous");
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            mdb::installInterruptCleanup();
            JetWriter writer(path.toStdString());
            const auto table = writer.addTable("big", {{"text", ColumnType::Text, 255}});
            for (int n = 0; n < 20000; ++n) {
                writer.appendRow(table, {std::string(200, char('a' + n % 26))});
                if (n == 10000)
                    ::raise(signal); // midway, with pages already on disk
            }
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == signal, "the signal still ends the program");
        QCOMPARE(entries(dir().path()), QStringList{"pcs.mdb"});
        QCOMPARE(tablesIn(path), QStringList{"previous"});
    }

private:
    QDir dir() const { return QDir(temporary->path()); }
    std::unique_ptr<QTemporaryDir> temporary;
};

QTEST_GUILESS_MAIN(JetWriterErrors)
#include "tst_jetwriter_errors.moc"
