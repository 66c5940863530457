#include "lookup/SharedQuery.h"

#include "platform/EventPump.h"

namespace lookup {

using namespace platform::db;

namespace {
bool running = false;
}

SharedQuery::SharedQuery(const QString &statement)
{
    if (running)
        throw platform::AppError(ErrStatementRunning, QStringLiteral("Procedures"),
                                 QStringLiteral("Another statement is still being read; try again when it ends."));
    Command &command = sharedCommand();
    command.setActiveConnection(&sharedConnection());
    command.setCommandText(statement);
    command.setCommandType(adCmdText);

    Recordset &rows = sharedRecordset();
    rows.setCursorType(adOpenStatic);
    rows.setCursorLocation(adUseClient);
    rows.setLockType(adLockOptimistic);
    rows.open(command);
    running = true;
    open_ = true;
}

SharedQuery::~SharedQuery()
{
    try {
        close();
    } catch (...) {
        // Closing a recordset does not fail in a way the reader could act on.
    }
}

void SharedQuery::close()
{
    if (!open_)
        return;
    open_ = false;
    running = false;
    sharedRecordset().close();
}

bool SharedQuery::isRunning()
{
    return running;
}

int SharedQuery::recordCount() const
{
    return sharedRecordset().recordCount();
}

bool SharedQuery::forEachRow(const QPointer<QObject> &owner, const RowReader &readRow)
{
    Recordset &rows = sharedRecordset();
    if (rows.eof())
        return true;
    rows.moveFirst();
    while (!rows.eof()) {
        readRow(rows);
        platform::serviceEvents();
        if (!owner || !open_)
            return false;
        rows.moveNext();
    }
    return true;
}

} // namespace lookup
