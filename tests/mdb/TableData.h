#pragma once
// What the tests write and expect back: tables of values, compared value by
// value with readable messages.

#include <QByteArray>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "mdb/JetWriter.h"

namespace mdbtest {

using Row = std::vector<mdb::Value>;

struct TableData {
    std::string name;
    std::vector<mdb::ColumnDefinition> columns;
    std::vector<Row> rows;
};

// Writes the tables to path through JetWriter and finishes the file.
void writeDatabase(const QString &path, const std::vector<TableData> &tables);

QString describe(const mdb::Value &value);

// Empty when actual equals expected; otherwise where they first differ.
QString compareRows(const std::vector<Row> &actual, const std::vector<Row> &expected, const std::string &table);

// The message of the WriterError that action throws, or a note that none came.
template <typename Action>
QString errorOf(Action action)
{
    try {
        action();
    } catch (const mdb::WriterError &error) {
        return QString::fromUtf8(error.what());
    }
    return "(no WriterError)";
}

// libmdb reports a Null text as empty text; this is what it should report.
Row asLibmdbSeesIt(const Row &row, const std::vector<mdb::ColumnDefinition> &columns);
std::vector<Row> asLibmdbSeesIt(const TableData &table);

// SHA-256 over the canonical form mdb-reader-dump.mjs --digest uses.
class RowDigest {
public:
    RowDigest();
    ~RowDigest();
    RowDigest(const RowDigest &) = delete;
    RowDigest &operator=(const RowDigest &) = delete;
    void add(const Row &row);
    QByteArray hex();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace mdbtest
