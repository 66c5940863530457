#pragma once
// Reads a written file back through each reader and compares every table,
// value by value, with what was written. Each returns an empty string when
// the reader saw exactly the tables, columns and rows, else what differed.

#include <QString>
#include <vector>

#include "tests/mdb/TableData.h"

namespace mdbtest {

// libmdb: table list, column types and lengths, every row (Null text reads as
// empty text there).
QString checkWithLibmdb(const QString &path, const std::vector<TableData> &tables);

// mdb-reader: table list, column types, row counts, every row with Nulls.
QString checkWithMdbReader(const QString &path, const std::vector<TableData> &tables);

// mdb-tables, mdb-count, mdb-schema and mdb-export.
QString checkWithCliTools(const QString &path, const std::vector<TableData> &tables);

} // namespace mdbtest
