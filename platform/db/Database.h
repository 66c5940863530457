#pragma once
// Read-only access to pcs.mdb through a connection, a command and a recordset,
// with the operations the program uses. Opening copies every user table of the
// Jet file into a private in-memory SQLite database; statements run there as
// they are written. Every failure throws platform::AppError with one of the
// numbers below.

#include "platform/AppError.h"

#include <QString>
#include <QVariant>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

struct sqlite3;

namespace platform::db {

class ResultRows;

// Stable error numbers, shown to the user with the description.
enum ErrorNumber : int {
    ErrFileNotFound = 3024,        // the file named in Data Source does not exist
    ErrUnreadableFile = 3051,      // exists but cannot be opened for reading
    ErrDamagedFile = 3343,         // not a Jet database libmdb reads, or damaged
    ErrBadConnectionString = 3706, // unknown provider, missing Data Source, bad mode
    ErrNotOpen = 3704,             // an operation needs an open connection/recordset
    ErrStatement = 3075,           // the engine rejected the statement
    ErrNoCurrentRow = 3021,        // EOF or BOF while a current row is needed
    ErrNoSuchField = 3265,         // field name not in the recordset
    ErrAlreadyOpen = 3705,         // opening an object that is already open
};

enum CursorLocation { adUseServer = 2, adUseClient = 3 };
enum CursorType { adOpenStatic = 3 };
enum LockType { adLockOptimistic = 3 };
enum CommandType { adCmdText = 1 };

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void setConnectionString(const QString &text);
    QString connectionString() const;
    void setCursorLocation(int location);
    int cursorLocation() const;

    // Starts reading the file the connection string names, so that the
    // program can build its windows while the file is read; open() takes the
    // work over. Never throws: whatever goes wrong, open() meets again and
    // reports.
    void startReading();
    // Parses the connection string, opens the file read-only and loads it.
    // Throws ErrBadConnectionString, ErrFileNotFound, ErrUnreadableFile,
    // ErrDamagedFile, or ErrAlreadyOpen; the description names the file.
    void open();
    void close();
    bool isOpen() const;

    sqlite3 *engine() const; // for Recordset; null while closed

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

class Command {
public:
    void setActiveConnection(Connection *connection) { connection_ = connection; }
    Connection *activeConnection() const { return connection_; }
    void setCommandText(const QString &text) { text_ = text; }
    const QString &commandText() const { return text_; }
    void setCommandType(int) {} // every command is text (adCmdText)

private:
    Connection *connection_ = nullptr;
    QString text_;
};

// One value of the current row. A Null stays apart from empty text.
class Field {
public:
    Field() = default;
    explicit Field(QVariant value) : value_(std::move(value)) {}
    const QVariant &value() const { return value_; }
    bool isNull() const { return value_.isNull(); }
    QString toString() const { return value_.isNull() ? QString() : value_.toString(); }

private:
    QVariant value_;
};

// A static client-side cursor: every row of the statement is held at open.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // Every recordset is what the program asks for, static and client-side,
    // and none is ever written to: these settings change nothing.
    void setCursorType(int) {}
    void setCursorLocation(int) {}
    void setLockType(int) {}

    // Runs the command's text on its active connection. The three -1 arguments
    // of the original call mean "as set before" and are not needed here.
    // Throws ErrAlreadyOpen while open, ErrNotOpen without an open connection,
    // ErrStatement for a text the engine refuses (anything but one query).
    void open(const Command &source);
    void close();
    bool isOpen() const { return open_; }

    bool eof() const;
    void moveFirst();
    void moveNext();
    int recordCount() const;

    // Fields by name, without regard to case. Throws ErrNoSuchField or
    // ErrNoCurrentRow.
    Field field(const QString &name) const;
    QStringList fieldNames() const { return names_; }

private:
    // -1 when no column has the name.
    int columnOf(const QString &name) const;

    bool open_ = false;
    QStringList names_;
    // Names asked for lately and their columns: readers ask for the same few
    // names on every row, and comparing a name without regard to case with
    // every column's costs more than reading the value.
    struct KnownName {
        QString name;
        int column = -1;
    };
    mutable std::array<KnownName, 4> knownNames_;
    mutable std::size_t nextKnownName_ = 0;
    std::unique_ptr<ResultRows> rows_; // the engine's own row store, kept out of this header
    qsizetype current_ = 0;
};

// The program's one connection, command and recordset, each made on first use.
Connection &sharedConnection();
Command &sharedCommand();
Recordset &sharedRecordset();
// Releases all three (the connection is closed first if still open).
void releaseShared();

} // namespace platform::db
