// The file is only ever read, and a damaged one is an error, never a crash or
// a hang: truncated and bit-flipped copies of a written file, a reader
// program that crashes, stops, or outlives the program that started it, and
// one fooled into reaching beyond its file.

#include "tests/platform/db/db_fixture.h"

#include "platform/db/DatabaseFile.h"
#include "platform/db/jet/IsolatedLoader.h"
#include "platform/db/jet/LoaderChild.h"
#include "mdb/JetWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace platform::db;

namespace {

struct Counts {
    QVariant longpcs, getalldata, notes;
    bool operator==(const Counts &) const = default;
};

Counts countRows(Connection &connection)
{
    const auto count = [&](const char *table) {
        return dbtest::runOn(connection, QStringLiteral("SELECT count(*) FROM %1;").arg(table)).values[0][0];
    };
    return {count("longpcs"), count("getalldata"), count("notes")};
}

timespec modificationTime(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

} // namespace

class DbDamageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fileIsNeverWritten();
    void truncatedCopiesFailCleanly();
    void bitFlippedCopiesFailCleanly();
    void aCatalogWithoutItsPageListIsNamed();
    void aLargeIndexIsSortedWithoutATemporaryFile();
    void theReaderIsAProgramOfItsOwnWithNothingOfOursOpen();
    void crashedReaderIsAnError();
    void stalledReaderIsStopped();
    void heartbeatKeepsASlowReaderAlive();
    void theReaderDiesWithTheProgram();
    void aCopyElsewhereLooksOnlyInItsOwnFolder();
    void theReaderCanReachNothingBeyondItsFile();

private:
    struct Outcome {
        bool refused = false;
        QString problem; // empty when the outcome is sound
        QString reason;  // the refusal's description
    };
    // Opens bytes written as a file: sound are ErrDamagedFile naming it, and
    // a load that lost nothing.
    Outcome openDamaged(const QByteArray &bytes);

    QTemporaryDir dir_;
    QString original_;
    QByteArray originalBytes_;
    Counts originalCounts_;
};

void DbDamageTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    original_ = dbtest::writeFixture(dir_.path());
    QFile file(original_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    originalBytes_ = file.readAll();
    Connection connection;
    dbtest::openFile(connection, original_);
    originalCounts_ = countRows(connection);
    QCOMPARE(originalCounts_.longpcs, QVariant(11));
}

void DbDamageTest::fileIsNeverWritten()
{
    QTemporaryDir session;
    const QString path = session.filePath("pcs.mdb");
    QVERIFY(QFile::copy(original_, path));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    // A time long past, so that any write would show.
    const timespec past[2] = {{978307200, 0}, {978307200, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), past, 0), 0);
    const QStringList filesBefore = QDir(session.path()).entryList(QDir::AllEntries | QDir::Hidden);

    Connection &connection = sharedConnection();
    connection.setConnectionString(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + session.path() + "\\pcs.mdb;Mode=Read");
    connection.setCursorLocation(adUseClient);
    connection.open();
    for (const QString &statement :
         {QStringLiteral("SELECT [Description],ID FROM longpcs where [Description] like '%art%' order by [Description];"),
          QStringLiteral("SELECT distinct [description],ID FROM getalldata where Description like '%a%' order by [description];"),
          QStringLiteral("SELECT * FROM getalldata where ID= 2 ;"),
          QStringLiteral("SELECT * FROM getalldata where ID= 2 and pcs9 like '36.12' ;")}) {
        sharedCommand().setActiveConnection(&connection);
        sharedCommand().setCommandText(statement);
        sharedRecordset().open(sharedCommand());
        QVERIFY(sharedRecordset().recordCount() > 0);
        sharedRecordset().close();
    }
    try {
        dbtest::runOn(connection, "DELETE FROM longpcs;");
    } catch (const platform::AppError &) {
    }
    connection.close();
    releaseShared();

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256),
             QCryptographicHash::hash(originalBytes_, QCryptographicHash::Sha256));
    const timespec after = modificationTime(path);
    QCOMPARE(after.tv_sec, past[1].tv_sec);
    QCOMPARE(after.tv_nsec, past[1].tv_nsec);
    QCOMPARE(QDir(session.path()).entryList(QDir::AllEntries | QDir::Hidden), filesBefore);
}

DbDamageTest::Outcome DbDamageTest::openDamaged(const QByteArray &bytes)
{
    const QString path = dir_.filePath("damaged.mdb");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return {false, "cannot write " + path, {}};
    file.close();
    Connection connection;
    connection.setConnectionString(dbtest::connectionStringFor(path));
    try {
        connection.open();
    } catch (const platform::AppError &e) {
        if (e.number() != ErrDamagedFile || !e.description().contains(path))
            return {true, QStringLiteral("unexpected error %1: %2").arg(e.number()).arg(e.description()), {}};
        return {true, {}, e.description()};
    }
    // A copy that loads must have lost nothing: fewer rows or tables without
    // an error would be silent data loss.
    try {
        if (!(countRows(connection) == originalCounts_))
            return {false, "loaded with rows missing", {}};
    } catch (const platform::AppError &e) {
        return {false, "loaded with a table missing: " + e.description(), {}};
    }
    return {false, {}, {}};
}

void DbDamageTest::truncatedCopiesFailCleanly()
{
    const qsizetype size = originalBytes_.size();
    const qsizetype page = 4096;
    int failures = 0;
    const QList<qsizetype> cuts = {0, 1, 100, page - 1, page, 2 * page, 3 * page - 7, size / 2, size - page, size - 1};
    for (qsizetype cut : cuts) {
        const Outcome outcome = openDamaged(originalBytes_.left(cut));
        QVERIFY2(outcome.problem.isEmpty(), qPrintable(QStringLiteral("cut at %1: ").arg(cut) + outcome.problem));
        failures += outcome.refused ? 1 : 0;
    }
    // Every cut but the last removes whole pages of tables or catalog.
    QVERIFY2(failures >= cuts.size() - 1, qPrintable(QString::number(failures)));
}

void DbDamageTest::bitFlippedCopiesFailCleanly()
{
    std::mt19937 random(20261207);
    const auto size = std::uint32_t(originalBytes_.size());
    int failures = 0;
    const int copies = 120;
    for (int n = 0; n < copies; ++n) {
        QByteArray copy = originalBytes_;
        QString what = QStringLiteral("flips");
        // Half the copies are hit in the header, catalog and table definitions.
        const std::uint32_t range = n % 2 ? std::min<std::uint32_t>(size, 5 * 4096) : size;
        for (std::uint32_t flips = 1 + random() % 6; flips > 0; --flips) {
            const std::uint32_t at = random() % range;
            const int bit = int(random() % 8);
            copy[at] = char(copy[at] ^ (1 << bit));
            what += QStringLiteral(" %1:%2").arg(at).arg(bit);
        }
        const Outcome outcome = openDamaged(copy);
        QVERIFY2(outcome.problem.isEmpty(), qPrintable(what + ": " + outcome.problem));
        failures += outcome.refused ? 1 : 0;
    }
    qInfo("%d of %d bit-flipped copies were refused as damaged", failures, copies);
    QVERIFY(failures > 0);
}

// libmdb walked the catalog's pages before anything checked that the catalog
// lists them, and crashed the reader on a list of no bytes: the refusal must
// say what is wrong, not that the reader died.
void DbDamageTest::aCatalogWithoutItsPageListIsNamed()
{
    constexpr qsizetype kPage = 4096, kListPointer = 2 * kPage + 55, kRowOffsets = 14;
    QByteArray copy = originalBytes_;
    // Point the catalog at the second row of the page holding its list, and
    // make that row start where the first does: a row of no bytes.
    const quint32 pointer = qFromLittleEndian<quint32>(copy.constData() + kListPointer);
    const qsizetype offsets = qsizetype(pointer >> 8) * kPage + kRowOffsets;
    qToLittleEndian<quint32>((pointer & ~0xFFu) | 1u, copy.data() + kListPointer);
    qToLittleEndian<quint16>(qFromLittleEndian<quint16>(copy.constData() + offsets), copy.data() + offsets + 2);
    const Outcome outcome = openDamaged(copy);
    QVERIFY2(outcome.refused && outcome.problem.isEmpty(), qPrintable(outcome.problem));
    QVERIFY2(outcome.reason.contains("its list of tables cannot be read"), qPrintable(outcome.reason));
}

// Sorting getalldata's index for a file several times the real one's size
// outgrows SQLite's default cache, and its sorter then asks for a temporary
// file, which the confined loader may not open: the whole copy was lost.
void DbDamageTest::aLargeIndexIsSortedWithoutATemporaryFile()
{
    constexpr int kRows = 1200000;
    const QString path = dir_.filePath("large.mdb");
    {
        mdb::JetWriter writer(path.toStdString());
        const auto table = writer.addTable("getalldata", {{"ID", mdb::ColumnType::Long}});
        for (int id = kRows; id > 0; --id)
            writer.appendRow(table, {id});
        writer.finish();
    }
    Connection connection;
    dbtest::openFile(connection, path);
    QCOMPARE(dbtest::firstColumn(dbtest::runOn(connection, "SELECT count(*) FROM getalldata")),
             QStringList{QString::number(kRows)});
}

namespace {

const char FakeLoaderFlag[] = "--fake-loader";

// Stand-ins for vorimel-load, run as this test program itself: they speak
// the loader's side of the conversation, and misbehave on purpose.
[[noreturn]] void runFakeLoader(int argc, char **argv)
{
    using platform::db::loader::LoaderChild;
    LoaderChild child(argc, argv);
    const std::string mode = argv[2];
    if (mode == "crash") {
        std::signal(SIGABRT, SIG_DFL);
        std::abort();
    }
    if (mode == "hang") {
        if (argc > 4) { // tells the test who it is, then waits to be killed
            QFile pidFile(QString::fromLocal8Bit(argv[3]));
            if (pidFile.open(QIODevice::WriteOnly))
                pidFile.write(QByteArray::number(::getpid()));
        }
        for (;;)
            ::pause();
    }
    if (mode == "descriptors") {
        // What it holds open besides the three it was given.
        std::string open;
        for (const QString &fd : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System))
            open += fd.toStdString() + ' ';
        child.fail(open);
    }
    // "slow": works for two and a half times the stall limit, beating all along.
    for (int i = 0; i < 25; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        child.beat();
    }
    const std::span<unsigned char> storage = child.resultStorage();
    sqlite3 *raw = nullptr;
    sqlite3_open(":memory:", &raw);
    SqliteHandle db(raw);
    sqlite3_deserialize(raw, "main", storage.data(), 0, sqlite3_int64(storage.size()), 0);
    sqlite3_exec(raw, "CREATE TABLE t (x); INSERT INTO t VALUES (42);", nullptr, nullptr, nullptr);
    child.deliver(std::move(db));
}

LoaderCommand fakeLoader(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), FakeLoaderFlag);
    return {QCoreApplication::applicationFilePath().toStdString(), std::move(arguments)};
}

} // namespace

void DbDamageTest::theReaderIsAProgramOfItsOwnWithNothingOfOursOpen()
{
    QVERIFY(QFileInfo(QString::fromStdString(defaultLoaderCommand().program)).isExecutable());
    try {
        loadJetFileIsolated(readDatabaseFile(original_), kDefaultStallLimit, fakeLoader({"descriptors"}));
        QFAIL("the stand-in gave a database");
    } catch (const LoadFailure &e) {
        // 0-2, the three it was given (3-5), and the listing's own (6).
        for (const QString &fd : QString::fromUtf8(e.what()).split(u' ', Qt::SkipEmptyParts))
            QVERIFY2(fd.toInt() <= 6, e.what());
    }
}

void DbDamageTest::crashedReaderIsAnError()
{
    try {
        loadJetFileIsolated(readDatabaseFile(original_), kDefaultStallLimit, fakeLoader({"crash"}));
        QFAIL("a crashed reader gave a database");
    } catch (const LoadFailure &e) {
        QVERIFY2(QString(e.what()).contains("crashed the reader"), e.what());
    }
    // A reader program that is not there is the installation's fault.
    try {
        loadJetFileIsolated(readDatabaseFile(original_), kDefaultStallLimit,
                            LoaderCommand{dir_.filePath("missing").toStdString(), {}});
        QFAIL("a missing reader gave a database");
    } catch (const LoaderUnavailable &e) {
        QVERIFY2(QString(e.what()).contains("missing"), e.what());
    }
}

void DbDamageTest::stalledReaderIsStopped()
{
    QElapsedTimer timer;
    timer.start();
    try {
        loadJetFileIsolated(readDatabaseFile(original_), std::chrono::milliseconds(1000), fakeLoader({"hang"}));
        QFAIL("a hung reader gave a database");
    } catch (const LoadFailure &e) {
        QVERIFY2(QString(e.what()).contains("stopped making progress"), e.what());
    }
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
}

void DbDamageTest::heartbeatKeepsASlowReaderAlive()
{
    LoadedDatabase loaded =
        loadJetFileIsolated(readDatabaseFile(original_), std::chrono::milliseconds(1000), fakeLoader({"slow"}));
    sqlite3_stmt *raw = nullptr;
    QCOMPARE(sqlite3_prepare_v2(loaded.get(), "SELECT x FROM t", -1, &raw, nullptr), SQLITE_OK);
    SqliteStatement statement(raw);
    QCOMPARE(sqlite3_step(raw), SQLITE_ROW);
    QCOMPARE(sqlite3_column_int(raw, 0), 42);
}

void DbDamageTest::theReaderDiesWithTheProgram()
{
    // A program (this test, started again) waits on a reader that hangs,
    // and is killed; its reader must not live on.
    const QString pidPath = dir_.filePath(QStringLiteral("reader.pid"));
    QProcess program;
    program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--wait-on-hanging-reader"), pidPath, original_});
    QVERIFY(program.waitForStarted(10000));
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo(pidPath).size() && clock.elapsed() < 30000)
        QTest::qWait(50);
    QFile pidFile(pidPath);
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    const pid_t reader = pid_t(pidFile.readAll().toInt());
    QVERIFY(reader > 0);
    ::kill(pid_t(program.processId()), SIGKILL);
    program.waitForFinished(10000);
    const auto gone = [reader] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(reader));
        // Dead, or a zombie waiting for whoever adopted it.
        return !stat.open(QIODevice::ReadOnly) || stat.readAll().split(' ').value(2) == "Z";
    };
    clock.restart();
    while (!gone() && clock.elapsed() < 10000)
        QTest::qWait(50);
    QVERIFY2(gone(), "the reader outlived the program");
}

void DbDamageTest::aCopyElsewhereLooksOnlyInItsOwnFolder()
{
    // This program, copied where no reader lies beside it, must not start
    // the one of the build it came from.
    QTemporaryDir elsewhere;
    const QString copy = elsewhere.filePath(QStringLiteral("copy"));
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    QVERIFY(QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QProcess program;
    program.start(copy, {QStringLiteral("--open"), original_});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.readAllStandardOutput().trimmed(), QByteArray::number(ErrUnreadableFile));
}

void DbDamageTest::theReaderCanReachNothingBeyondItsFile()
{
    // The real loader, asked (a request only test builds honour) to do what a
    // fooled libmdb or SQLite might once it holds the file.
    QTemporaryDir outside;
    const QString planted = outside.filePath(QStringLiteral("planted.db"));
#if defined(__SANITIZE_ADDRESS__)
    // The leak checker reads /proc and starts the symbolizer: sanitizer
    // builds let reading and running through, never writing.
    const bool readingRefused = false;
#else
    const bool readingRefused = true;
#endif
    const struct {
        QByteArray request;
        bool refused;
    } requests[] = {{"write:" + QFile::encodeName(planted), true},
                    {"socket:-", true},
                    {"read:" + QFile::encodeName(original_), readingRefused},
                    {"run:/bin/true", readingRefused}};
    for (const auto &attempt : requests) {
        if (!attempt.refused) {
            qInfo("not refused in this build: %s", attempt.request.constData());
            continue;
        }
        qputenv("VORIMEL_LOADER_TEST_REQUEST", attempt.request);
        Connection connection;
        connection.setConnectionString(dbtest::connectionStringFor(original_));
        try {
            connection.open();
            qunsetenv("VORIMEL_LOADER_TEST_REQUEST");
            QFAIL(qPrintable("the reader was allowed to " + attempt.request));
        } catch (const platform::AppError &e) {
            QCOMPARE(e.number(), int(ErrDamagedFile));
            QVERIFY2(e.description().contains(QLatin1String("Operation not permitted")), qPrintable(e.description()));
        }
    }
    qunsetenv("VORIMEL_LOADER_TEST_REQUEST");
    QVERIFY(QDir(outside.path()).isEmpty());
    // Confined, it still reads the whole file.
    Connection connection;
    dbtest::openFile(connection, original_);
    QVERIFY(countRows(connection) == originalCounts_);
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--open") == 0) {
        QCoreApplication application(argc, argv);
        Connection connection;
        connection.setConnectionString(dbtest::connectionStringFor(QString::fromLocal8Bit(argv[2])));
        try {
            connection.open();
            std::puts("0");
        } catch (const platform::AppError &e) {
            std::printf("%d\n", e.number());
        }
        return 0;
    }
    if (argc > 2 && qstrcmp(argv[1], FakeLoaderFlag) == 0)
        runFakeLoader(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--wait-on-hanging-reader") == 0) {
        QCoreApplication application(argc, argv);
        try {
            loadJetFileIsolated(readDatabaseFile(QString::fromLocal8Bit(argv[3])), std::chrono::milliseconds(60000),
                                fakeLoader({"hang", argv[2], "report"}));
        } catch (const LoadFailure &) {
        } catch (const platform::AppError &) {
            return 2;
        }
        return 0;
    }
    QCoreApplication application(argc, argv);
    DbDamageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_db_damage.moc"
