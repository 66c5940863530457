// Files anyone may hand around, their saved queries written to attack: the
// file opens, what a query smuggles in stays text, no file appears, a query
// beyond any parser's depth is refused alone, and a search over a view
// without bounds ends in a numbered error within the memory ceiling.

#include "tests/platform/db/db_fixture.h"
#include "tests/platform/db/jet/hostile_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

using namespace platform::db;
using dbtest::errorOf;

namespace {

const QString kKeywordSearch =
    QStringLiteral("SELECT [Description],ID FROM longpcs where [Description] like '%bypass%' order by [Description];");

class CurrentFolder {
public:
    explicit CurrentFolder(const QString &folder) : before_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~CurrentFolder() { QDir::setCurrent(before_); }

private:
    QString before_;
};

} // namespace

class DbHostileFilesTest : public QObject {
    Q_OBJECT

private slots:
    void injectionsStayInsideTheirQueries()
    {
        QTemporaryDir dir, target;
        const QString path = dir.filePath(QStringLiteral("pcs.mdb"));
        const auto queries = hostile::writeInjectingFile(path.toStdString(), target.path().toStdString());
        Connection connection;
        {
            const CurrentFolder inTarget(target.path()); // where relative names would land
            dbtest::openFile(connection, path);
        }
        QCOMPARE(dbtest::runOn(connection, kKeywordSearch).values.size(), std::size_t(hostile::kBypassRows));
        for (const hostile::InjectingQuery &q : queries) {
            const QString statement = QStringLiteral("SELECT * FROM [%1];").arg(QString::fromStdString(q.name));
            if (!q.becomesView) {
                const QString refusal = errorOf([&] { dbtest::runOn(connection, statement); }, ErrStatement);
                QVERIFY2(refusal.contains("cannot be used"), qPrintable(QString::fromStdString(q.name) + ": " + refusal));
                continue;
            }
            const dbtest::Rows rows = dbtest::runOn(connection, statement);
            QVERIFY2(!rows.values.empty(), q.name.c_str());
            if (!q.value.empty())
                QCOMPARE(rows.values.front().value(0).toString(), QString::fromStdString(q.value));
        }
        QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    void deepQueriesAreRefusedAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pcs.mdb"));
        hostile::writeDeepFile(path.toStdString());
        Connection connection;
        dbtest::openFile(connection, path);
        for (const auto &[name, reason] : {std::pair{"deep", "nested more than"}, {"huge", "longer than Jet keeps"},
                                           {"chain", "operations in a row"}}) {
            const QString refusal = errorOf(
                [&] { dbtest::runOn(connection, QStringLiteral("SELECT * FROM %1;").arg(name)); }, ErrStatement);
            QVERIFY2(refusal.contains(reason), qPrintable(refusal));
        }
        QCOMPARE(dbtest::runOn(connection, kKeywordSearch).values.size(), std::size_t(hostile::kBypassRows));
    }

    void aSearchWithoutBoundsEndsWithinTheCeiling()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pcs.mdb"));
        hostile::writeCrossJoinFile(path.toStdString());
        Connection connection;
        dbtest::openFile(connection, path);
        const QString refusal = errorOf([&] { dbtest::runOn(connection, kKeywordSearch); }, ErrStatement);
        QVERIFY2(refusal.contains("MB of memory"), qPrintable(refusal));
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        QVERIFY2(usage.ru_maxrss < 1024 * 1024, qPrintable(QStringLiteral("peak %1 kB").arg(usage.ru_maxrss)));
        // The next statement runs as before.
        QCOMPARE(dbtest::runOn(connection, QStringLiteral("SELECT count(*) FROM a;")).values.front().value(0), QVariant(300));
    }
};

QTEST_GUILESS_MAIN(DbHostileFilesTest)
#include "tst_db_hostile_files.moc"
