#pragma once
// Runs one statement with the program's shared command and recordset. The
// recordset is open exactly as long as a SharedQuery lives, and only one can
// live at a time: the window services events between rows, and a second
// statement started from one of those events must not reuse the open recordset.

#include "platform/db/Database.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

namespace lookup {

// Refused start of a statement while another one is being read
// ("operation is not allowed when the object is open").
inline constexpr int ErrStatementRunning = 3705;

class SharedQuery {
public:
    // Sets the command on the shared connection and opens the shared recordset
    // (static, client-side, optimistic). Throws platform::AppError.
    explicit SharedQuery(const QString &statement);
    ~SharedQuery();
    SharedQuery(const SharedQuery &) = delete;
    SharedQuery &operator=(const SharedQuery &) = delete;

    int recordCount() const;

    // Calls readRow on every row in statement order and services window
    // events after each. Returns false, without reading further, as soon as
    // owner no longer exists after the events ran. Errors of the recordset
    // propagate to the caller.
    using RowReader = std::function<void(const platform::db::Recordset &)>;
    bool forEachRow(const QPointer<QObject> &owner, const RowReader &readRow);

    // Closes the recordset now rather than at destruction.
    void close();

    static bool isRunning();

private:
    bool open_ = false;
};

} // namespace lookup
