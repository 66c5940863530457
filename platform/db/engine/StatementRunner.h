#pragma once
// Runs one statement on the loaded copy and collects every row it yields.

#include "platform/db/engine/LayerGuard.h"

#include "platform/db/engine/ResultRows.h"
#include "platform/db/engine/StatementRejected.h"

#include <QStringList>

#include <sqlite3.h>

namespace platform::db {

struct StatementResult {
    QStringList names;
    ResultRows rows;
};

// Throws StatementRejected naming the fault and quoting the statement: a
// text the engine rejects, more than one statement, anything but reading, or a
// statement that runs too long or yields more than can sensibly be held.
StatementResult runStatement(sqlite3 *db, const QString &text);

} // namespace platform::db
