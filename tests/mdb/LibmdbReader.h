#pragma once
// Reads tables back through libmdb, the library the application itself uses.

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "tests/mdb/TableData.h"

namespace mdbtest {

struct LibmdbColumn {
    std::string name;
    int type = 0;    // MDB_LONGINT, MDB_TEXT, MDB_MEMO, ...
    int length = 0;  // bytes, as the definition records it
};

class LibmdbFile {
public:
    // Throws std::runtime_error when libmdb cannot open the file. Values
    // longer than bindSize - 1 bytes of UTF-8 come back cut; libmdb allocates
    // a buffer of that size for each value it converts, so keep it no larger
    // than the test needs.
    explicit LibmdbFile(const QString &path, std::size_t bindSize = 200000);
    ~LibmdbFile();
    LibmdbFile(const LibmdbFile &) = delete;
    LibmdbFile &operator=(const LibmdbFile &) = delete;

    QStringList userTables() const;
    std::vector<LibmdbColumn> columns(const std::string &table) const;
    // Calls onRow for every row, in file order. Null and empty text both
    // come back as empty text; a Null Long Integer comes back as Null.
    void forEachRow(const std::string &table, const std::function<void(const Row &)> &onRow) const;
    std::vector<Row> rows(const std::string &table) const;

private:
    struct Handle;
    Handle *handle_;
};

} // namespace mdbtest
