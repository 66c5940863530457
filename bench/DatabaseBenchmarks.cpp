// Opening the database and running the keyword statement, against two
// references: SQLite's own shell on a file holding the same rows, and a plain
// case-insensitive substring scan, the floor for any search.

#include "BenchContext.h"

#include "platform/db/Database.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <sqlite3.h>

namespace bench {

QString Context::connectionString() const
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Mode=Read").arg(databasePath());
}

namespace {

using namespace platform::db;

QString keywordStatement(const QString &text)
{
    return QStringLiteral("SELECT [Description],ID FROM longpcs where [Description] like '%") + text
           + QStringLiteral("%' order by [Description];");
}

int runStatement(Connection &connection, const QString &text)
{
    Command command;
    command.setActiveConnection(&connection);
    command.setCommandText(text);
    command.setCommandType(adCmdText);
    Recordset rs;
    rs.open(command);
    int rows = 0;
    if (!rs.eof()) {
        rs.moveFirst();
        while (!rs.eof()) {
            (void)rs.field(QStringLiteral("Description")).toString();
            ++rows;
            rs.moveNext();
        }
    }
    rs.close();
    return rows;
}

// Copies the loaded tables into a SQLite file for the sqlite3 shell.
QString writeSqliteCopy(Connection &connection, const QString &path)
{
    QFile::remove(path);
    sqlite3 *file = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &file) != SQLITE_OK)
        return {};
    sqlite3_backup *backup = sqlite3_backup_init(file, "main", connection.engine(), "main");
    bool ok = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
    if (backup)
        sqlite3_backup_finish(backup);
    sqlite3_close(file);
    return ok ? path : QString();
}

// Median "Run Time: real" of the statement in the sqlite3 shell, in ms.
std::optional<double> sqliteShellMedian(const QString &dbFile, const QString &statement, int runs)
{
    QStringList script{QStringLiteral(".output /dev/null")};
    for (int i = 0; i < runs + 1; ++i)
        script << QStringLiteral(".timer on") << statement << QStringLiteral(".timer off");
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {dbFile});
    if (!shell.waitForStarted(5000))
        return std::nullopt;
    shell.write(script.join(QLatin1Char('\n')).toUtf8() + '\n');
    shell.closeWriteChannel();
    shell.waitForFinished(120000);
    const QString out = QString::fromUtf8(shell.readAllStandardOutput() + shell.readAllStandardError());
    QRegularExpression re(QStringLiteral("Run Time: real ([0-9.]+)"));
    Result r;
    auto it = re.globalMatch(out);
    bool first = true;
    while (it.hasNext()) {
        const double seconds = it.next().captured(1).toDouble();
        if (first) { // the first run warms the page cache
            first = false;
            continue;
        }
        r.samples << seconds * 1000.0;
    }
    if (r.samples.isEmpty())
        return std::nullopt;
    return r.median();
}

} // namespace

Descriptions loadDescriptions(Connection &connection)
{
    Command command;
    command.setActiveConnection(&connection);
    command.setCommandText(QStringLiteral("SELECT [Description],ID FROM longpcs;"));
    Recordset rs;
    rs.open(command);
    Descriptions out;
    while (!rs.eof()) {
        out.push_back(rs.field(QStringLiteral("Description")).toString().toStdString());
        rs.moveNext();
    }
    rs.close();
    return out;
}

// The plainest case-insensitive containment test: byte by byte over UTF-8,
// folding ASCII letters, no engine, no strings made.
QVector<double> substringScanTimes(const Descriptions &descriptions, const QString &word, int runs)
{
    const std::string needle = word.toStdString();
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? char(c | 0x20) : char(c); };
    auto same = [&](char a, char b) { return fold(static_cast<unsigned char>(a)) == fold(static_cast<unsigned char>(b)); };
    volatile int found = 0; // keeps the optimiser from dropping the scan
    return timeRuns(runs, 1, [&] {
        int n = 0;
        for (const std::string &d : descriptions)
            n += std::search(d.begin(), d.end(), needle.begin(), needle.end(), same) != d.end();
        found = n;
    });
}

void runOpenBenchmark(const Context &ctx)
{
    Result open{QStringLiteral("open the connection (read pcs.mdb, load it)")};
    open.target = 250;
    open.samples = timeRuns(ctx.runs, 1, [&] {
        Connection c;
        c.setConnectionString(ctx.connectionString());
        c.setCursorLocation(adUseClient);
        c.open();
        c.close();
    });
    ctx.report->add(open);
}

void runStatementBenchmarks(const Context &ctx)
{
    Connection connection;
    connection.setConnectionString(ctx.connectionString());
    connection.open();
    const QString copy = writeSqliteCopy(connection, ctx.workDir + QStringLiteral("/pcs.sqlite"));
    const auto descriptions = loadDescriptions(connection);

    for (const QString &word : {QStringLiteral("bypass"), QStringLiteral("heart"), QString()}) {
        const QString statement = keywordStatement(word);
        Result r{QStringLiteral("keyword statement only \"%1\"").arg(word)};
        r.target = word.isEmpty() ? 120 : word == QLatin1String("heart") ? 3 : 12;
        r.samples = timeRuns(ctx.runs, 1, [&] { runStatement(connection, statement); });
        if (!copy.isEmpty())
            r.reference = sqliteShellMedian(copy, statement, ctx.runs);
        r.referenceName = QStringLiteral("sqlite3 shell");
        ctx.report->add(r);

        Result floor{QStringLiteral("  floor: substring scan \"%1\"").arg(word)};
        floor.samples = substringScanTimes(descriptions, word, ctx.runs);
        ctx.report->add(floor);
    }
    connection.close();
}

} // namespace bench
