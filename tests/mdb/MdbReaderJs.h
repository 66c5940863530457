#pragma once
// Reads a file through the npm package mdb-reader, an implementation
// independent of libmdb, by running tests/mdb/mdb-reader-dump.mjs with node.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "tests/mdb/TableData.h"

namespace mdbtest {

struct ReaderColumn {
    std::string name;
    std::string type;  // "long", "text", "memo", ...
    int size = 0;
};

struct ReaderTable {
    std::string name;
    long long rowCount = 0;  // from the table definition
    long long dataRows = 0;  // rows actually read
    std::vector<ReaderColumn> columns;
    std::vector<Row> rows;   // empty in digest mode
    QByteArray digest;       // digest mode only
};

struct ReaderOptions {
    bool digestOnly = false;
    std::optional<std::string> table;
    bool systemTables = false; // also MSysObjects, MSysQueries, ...
};

// Throws std::runtime_error with node's message when reading fails, or when
// node or mdb-reader is missing (they are part of the test setup).
std::vector<ReaderTable> readWithMdbReader(const QString &path, const ReaderOptions &options = {});

} // namespace mdbtest
