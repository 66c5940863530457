#include "platform/db/Database.h"

#include "platform/db/ConnectionString.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/Errors.h"
#include "platform/db/jet/IsolatedLoader.h"
#include "platform/db/engine/QueryRules.h"

#include <optional>
#include <utility>

namespace platform::db {

struct Connection::Impl {
    QString connectionString;
    int cursorLocation = adUseServer;
    LoadedDatabase engine;
    // A read started ahead of open(), and the connection string it was for.
    std::optional<LoadInProgress> readingAhead;
    QString readingAheadFor;
};

namespace {

// The file a connection string names, where it is found.
QString dataSourcePath(const QString &connectionString)
{
    return locateDataSource(jetReadOnlySettings(connectionString).dataSource);
}

} // namespace

Connection::Connection() : d(std::make_unique<Impl>()) {}

Connection::~Connection() = default;

void Connection::setConnectionString(const QString &text)
{
    d->connectionString = text;
}

QString Connection::connectionString() const
{
    return d->connectionString;
}

void Connection::setCursorLocation(int location)
{
    d->cursorLocation = location;
}

int Connection::cursorLocation() const
{
    return d->cursorLocation;
}

void Connection::startReading()
{
    if (d->engine.get() || d->readingAhead)
        return;
    try {
        d->readingAhead.emplace(startLoadingJetFile(readDatabaseFile(dataSourcePath(d->connectionString))));
        d->readingAheadFor = d->connectionString;
    } catch (...) {
        d->readingAhead.reset();
    }
}

void Connection::open()
{
    if (d->engine.get())
        raise(ErrAlreadyOpen, kConnectionSource,
              QStringLiteral("The connection is already open; close it before opening it again."));
    std::optional<LoadInProgress> readingAhead = std::exchange(d->readingAhead, std::nullopt);
    if (d->readingAheadFor != d->connectionString)
        readingAhead.reset();
    const QString path = dataSourcePath(d->connectionString);
    LoadedDatabase engine;
    try {
        engine = readingAhead ? readingAhead->finish() : loadJetFileIsolated(readDatabaseFile(path));
    } catch (const LoaderUnavailable &failure) {
        raise(ErrUnreadableFile, kConnectionSource,
              QStringLiteral("The database file '%1' cannot be read: %2. Reinstall the program.")
                  .arg(path, QString::fromUtf8(failure.what())));
    } catch (const LoadFailure &failure) {
        raise(ErrDamagedFile, kConnectionSource,
              QStringLiteral("The database file '%1' is not a Jet database or is damaged: %2.")
                  .arg(path, QString::fromUtf8(failure.what())));
    }
    const int rc = applyQueryRules(engine.get());
    if (rc != SQLITE_OK)
        raise(ErrDamagedFile, kConnectionSource,
              QStringLiteral("The database file '%1' cannot be prepared for searching: %2.")
                  .arg(path, QString::fromUtf8(sqlite3_errstr(rc))));
    d->engine = std::move(engine);
}

void Connection::close()
{
    d->readingAhead.reset();
    d->engine = LoadedDatabase();
}

bool Connection::isOpen() const
{
    return d->engine.get() != nullptr;
}

sqlite3 *Connection::engine() const
{
    return d->engine.get();
}

} // namespace platform::db
