// Opening and closing: the connection string, the file it names, each error,
// and the shared objects.

#include "tests/platform/db/db_fixture.h"

#include "platform/db/ConnectionString.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

using namespace platform::db;
using dbtest::errorOf;
using dbtest::kUnexpected;

namespace {

QString openFailure(const QString &connectionString, int expectedNumber)
{
    return errorOf([&] {
        Connection connection;
        connection.setConnectionString(connectionString);
        connection.open();
    }, expectedNumber);
}

} // namespace

class DbConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void parsesPairs_data();
    void parsesPairs();
    void refusesBadConnectionStrings_data();
    void refusesBadConnectionStrings();

    void opensWithBackslashBeforeTheFileName();
    void backslashesInFolderNamesAndWindowsPaths();
    void missingFileIsNamed();
    void unreadableThingsAreRefused();
    void fileThatIsNoDatabaseIsNamed();
    void openCloseAndReopen();
    void aReadStartedAheadIsTakenOverByOpen();
    void statementsNeedAnOpenConnection();
    void sharedObjectsAreMadeOnceAndReleased();

private:
    QTemporaryDir dir_;
    QString path_;
};

void DbConnectionTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    path_ = dbtest::writeFixture(dir_.path());
}

void DbConnectionTest::parsesPairs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dataSource");
    QTest::addColumn<QString>("mode");
    QTest::newRow("program's own") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/v\\pcs.mdb;Mode=Read"
                                   << "/opt/v\\pcs.mdb" << "Read";
    QTest::newRow("case and spaces") << " provider = microsoft.jet.oledb.4.0 ; DATA SOURCE = /a b/pcs.mdb ;mode=read;"
                                     << "/a b/pcs.mdb" << "read";
    QTest::newRow("double quotes") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/x;y/pcs.mdb\";Mode=Read"
                                   << "/x;y/pcs.mdb" << "Read";
    QTest::newRow("doubled quote") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source='/it''s/pcs.mdb'"
                                   << "/it's/pcs.mdb" << "";
    QTest::newRow("other keys kept apart") << "Persist Security Info=False;Provider='Microsoft.Jet.OLEDB.4.0';"
                                              "Data Source=d.mdb;User ID=Admin"
                                           << "d.mdb" << "";
}

void DbConnectionTest::parsesPairs()
{
    QFETCH(QString, text);
    QFETCH(QString, dataSource);
    QFETCH(QString, mode);
    const ConnectionSettings settings = jetReadOnlySettings(text);
    QCOMPARE(settings.dataSource, dataSource);
    QCOMPARE(settings.mode, mode);
    QCOMPARE(settings.provider.toLower(), QString("microsoft.jet.oledb.4.0"));
}

void DbConnectionTest::refusesBadConnectionStrings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("no value") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source" << "Data Source";
    QTest::newRow("unclosed quote") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/a/pcs.mdb" << "closing quote";
    QTest::newRow("text after quote") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source='/a' b" << "follows";
    QTest::newRow("no name") << "=x;Provider=Microsoft.Jet.OLEDB.4.0" << "no name";
    QTest::newRow("no data source") << "Provider=Microsoft.Jet.OLEDB.4.0;Mode=Read" << "Data Source";
    // Well formed, but another provider or a mode other than Read.
    QTest::newRow("ACE provider") << "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + path_ + ";Mode=Read"
                                  << "Microsoft.ACE.OLEDB.12.0";
    QTest::newRow("no provider") << "Data Source=" + path_ << "Provider";
    QTest::newRow("read/write") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path_ + ";Mode=ReadWrite"
                                << "ReadWrite";
    QTest::newRow("share mode") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path_
                                       + ";Mode=Share Exclusive"
                                << "Share Exclusive";
}

void DbConnectionTest::refusesBadConnectionStrings()
{
    QFETCH(QString, text);
    QFETCH(QString, mentions);
    const QString description = openFailure(text, ErrBadConnectionString);
    QVERIFY2(description.contains(mentions), qPrintable(description));
}

void DbConnectionTest::opensWithBackslashBeforeTheFileName()
{
    // As the frame builds it: folder, "\", "pcs.mdb"; also with the folder
    // already ending in a separator.
    for (const QString &folder : {dir_.path(), dir_.path() + "/"}) {
        Connection connection;
        connection.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder + "\\pcs.mdb;Mode=Read");
        connection.open();
        QVERIFY(connection.isOpen());
        QCOMPARE(dbtest::runOn(connection, "SELECT count(*) FROM longpcs;").values[0][0], QVariant(11));
    }
}

void DbConnectionTest::backslashesInFolderNamesAndWindowsPaths()
{
    QTemporaryDir root(dir_.path() + "/sep-XXXXXX");
    const QDir top(root.path());
    // A folder whose name holds a backslash, and the folder a/b that taking
    // every backslash as a separator would lead to, holding something else.
    QVERIFY(top.mkpath("a\\b") && top.mkpath("a/b") && top.mkpath("win/sub"));
    QVERIFY(QFile::copy(path_, top.filePath("a\\b/pcs.mdb")));
    QVERIFY(QFile::copy(path_, top.filePath("win/sub/pcs.mdb")));
    QFile decoy(top.filePath("a/b/pcs.mdb"));
    QVERIFY(decoy.open(QIODevice::WriteOnly));
    decoy.write(QByteArray(8192, 'x'));
    decoy.close();

    // The program's own form, folder + '\' + "pcs.mdb", then a path written
    // the Windows way.
    for (const QString &dataSource : {root.path() + "/a\\b\\pcs.mdb", root.path() + "\\win\\sub\\pcs.mdb"}) {
        Connection connection;
        connection.setConnectionString(dbtest::connectionStringFor(dataSource));
        try {
            connection.open();
        } catch (const platform::AppError &e) {
            QFAIL(qPrintable(dataSource + ": " + e.description()));
        }
        QCOMPARE(dbtest::runOn(connection, "SELECT count(*) FROM longpcs;").values[0][0], QVariant(11));
    }
}

void DbConnectionTest::missingFileIsNamed()
{
    // Named the way this platform writes a path, not with the backslashes.
    const QString description =
        openFailure(dbtest::connectionStringFor(dir_.path() + "\\nowhere\\pcs.mdb"), ErrFileNotFound);
    QVERIFY2(description.contains("'" + dir_.path() + "/nowhere/pcs.mdb'"), qPrintable(description));
}

void DbConnectionTest::unreadableThingsAreRefused()
{
    const QString fifo = dir_.filePath("fifo.mdb");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Opening a FIFO for reading would wait for a writer forever.
    QString description = openFailure(dbtest::connectionStringFor(fifo), ErrUnreadableFile);
    QVERIFY2(description.contains(fifo) && description.contains("not a regular file"), qPrintable(description));

    description = openFailure(dbtest::connectionStringFor(dir_.path()), ErrUnreadableFile);
    QVERIFY2(description.contains(dir_.path()), qPrintable(description));

    if (::geteuid() == 0)
        QSKIP("running as root: a file without read permission is still readable");
    const QString locked = dir_.filePath("locked.mdb");
    QVERIFY(QFile::copy(path_, locked));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    description = openFailure(dbtest::connectionStringFor(locked), ErrUnreadableFile);
    QVERIFY2(description.contains(locked) && description.contains("ermission"), qPrintable(description));
}

void DbConnectionTest::fileThatIsNoDatabaseIsNamed()
{
    const QString text = dir_.filePath("notes.mdb");
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    QString description = openFailure(dbtest::connectionStringFor(text), ErrDamagedFile);
    QVERIFY2(description.contains(text) && description.contains("not a Jet database"), qPrintable(description));

    const QString empty = dir_.filePath("empty.mdb");
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    description = openFailure(dbtest::connectionStringFor(empty), ErrDamagedFile);
    QVERIFY2(description.contains(empty) && description.contains("empty"), qPrintable(description));
}

void DbConnectionTest::openCloseAndReopen()
{
    Connection connection;
    QVERIFY(!connection.isOpen());
    QVERIFY(connection.engine() == nullptr);
    connection.setConnectionString(dbtest::connectionStringFor(path_));
    connection.setCursorLocation(adUseClient);
    QCOMPARE(connection.cursorLocation(), int(adUseClient));
    connection.open();
    QVERIFY(connection.isOpen());
    QVERIFY(!errorOf([&] { connection.open(); }, ErrAlreadyOpen).startsWith(kUnexpected));
    QVERIFY(connection.isOpen());
    connection.close();
    QVERIFY(!connection.isOpen());
    connection.close(); // closing twice does no harm
    connection.open();
    QCOMPARE(dbtest::runOn(connection, "SELECT count(*) FROM getalldata;").values[0][0], QVariant(6));
}

// Reading ahead changes when the file is read, nothing else: open() gives the
// same database, the same errors for the same causes, and a string changed in
// between is the one opened. No loader outlives what started it.
void DbConnectionTest::aReadStartedAheadIsTakenOverByOpen()
{
    const auto noLoaderLeft = [] {
        errno = 0;
        return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
    };
    {
        Connection connection;
        connection.setConnectionString(dbtest::connectionStringFor(path_));
        connection.startReading();
        QVERIFY(!noLoaderLeft());
        connection.open();
        QVERIFY(noLoaderLeft());
        QCOMPARE(dbtest::runOn(connection, "SELECT count(*) FROM longpcs;").values[0][0], QVariant(11));
    }

    const QString notes = dir_.filePath("ahead-notes.mdb");
    QFile file(notes);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    QString description = errorOf([&] {
        Connection connection;
        connection.setConnectionString(dbtest::connectionStringFor(path_));
        connection.startReading();
        connection.setConnectionString(dbtest::connectionStringFor(notes));
        connection.open();
    }, ErrDamagedFile);
    QVERIFY2(description.contains(notes), qPrintable(description));
    QVERIFY(noLoaderLeft());

    // A failure met ahead is met again by open(): the same number and text.
    const QString missing = dir_.path() + "\\nowhere\\pcs.mdb";
    for (const auto &[dataSource, number] : {std::pair{missing, ErrFileNotFound}, std::pair{notes, ErrDamagedFile}}) {
        const QString connectionString = dbtest::connectionStringFor(dataSource);
        description = errorOf([&] {
            Connection connection;
            connection.setConnectionString(connectionString);
            connection.startReading();
            connection.open();
        }, number);
        QCOMPARE(description, openFailure(connectionString, number));
    }

    // Closed, or ended, before it was opened: the loader goes with it.
    {
        Connection connection;
        connection.setConnectionString(dbtest::connectionStringFor(path_));
        connection.startReading();
        connection.close();
        QVERIFY(noLoaderLeft());
        connection.startReading();
    }
    QVERIFY(noLoaderLeft());
}

void DbConnectionTest::statementsNeedAnOpenConnection()
{
    Connection connection;
    Command command;
    command.setCommandText("SELECT 1;");
    Recordset recordset;
    QVERIFY(!errorOf([&] { recordset.open(command); }, ErrNotOpen).startsWith(kUnexpected));
    command.setActiveConnection(&connection);
    QVERIFY(!errorOf([&] { recordset.open(command); }, ErrNotOpen).startsWith(kUnexpected));
    QVERIFY(!recordset.isOpen());
}

void DbConnectionTest::sharedObjectsAreMadeOnceAndReleased()
{
    Connection &connection = sharedConnection();
    QCOMPARE(&sharedConnection(), &connection);
    QCOMPARE(&sharedCommand(), &sharedCommand());
    QCOMPARE(&sharedRecordset(), &sharedRecordset());

    dbtest::openFile(connection, path_);
    sharedCommand().setActiveConnection(&connection);
    sharedCommand().setCommandText("SELECT ID FROM longpcs where ID= 7 ;");
    sharedRecordset().open(sharedCommand());
    QCOMPARE(sharedRecordset().recordCount(), 1);
    sharedRecordset().close();

    releaseShared();
    Connection &fresh = sharedConnection();
    QVERIFY(!fresh.isOpen());
    QVERIFY(fresh.connectionString().isEmpty());
    QVERIFY(sharedCommand().commandText().isEmpty());
    releaseShared();
}

QTEST_GUILESS_MAIN(DbConnectionTest)
#include "tst_db_connection.moc"
