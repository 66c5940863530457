#pragma once
// A small pcs.mdb written with the Jet writer for the database tests: the two
// tables the program reads, shaped like the real ones, plus a table of Memo
// values of every storage kind.

#include "mdb/JetWriter.h"
#include "platform/AppError.h"
#include "platform/db/Database.h"

#include <QString>
#include <QVariantList>

#include <vector>

namespace dbtest {

// Writes the fixture as folder/pcs.mdb and returns its path.
QString writeFixture(const QString &folder);

QString connectionStringFor(const QString &path);
// Opens connection on the file at path, read-only as the program does.
void openFile(platform::db::Connection &connection, const QString &path);

// The columns of getalldata, named and sized as in the files the program reads.
std::vector<mdb::ColumnDefinition> getalldataColumns();

// The rows of one statement, each as its values in column order.
struct Rows {
    QStringList names;
    std::vector<QVariantList> values;
};
Rows runOn(platform::db::Connection &connection, const QString &statement);

// The first column of every row, as text.
QStringList firstColumn(const Rows &rows);

// Text of the memo with the given ID, as the fixture wrote it.
QString fixtureMemo(int id);

inline const QString kUnexpected = QStringLiteral("UNEXPECTED: ");

// Runs step, which must fail with the given number; returns the description,
// or a text starting with kUnexpected.
template <typename Step> QString errorOf(Step step, int expectedNumber)
{
    try {
        step();
    } catch (const platform::AppError &e) {
        if (e.number() != expectedNumber)
            return kUnexpected + QStringLiteral("number %1: %2").arg(e.number()).arg(e.description());
        return e.description();
    }
    return kUnexpected + QStringLiteral("no error");
}

} // namespace dbtest
