#pragma once
// Runs the mdbtools command-line programs (mdb-tables, mdb-export, mdb-count,
// mdb-schema) on a file.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "tests/mdb/TableData.h"

namespace mdbtest {

// stdout of the program; throws std::runtime_error with its stderr when it
// fails or is missing.
QByteArray runMdbTool(const QString &program, const QStringList &arguments);

// Rows of mdb-export's default CSV (header line, text quoted, numbers and
// Nulls bare). Like libmdb, it cannot tell Null text from empty text.
std::vector<Row> parseExportCsv(const QByteArray &csv, const std::vector<mdb::ColumnDefinition> &columns);

} // namespace mdbtest
