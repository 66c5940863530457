#pragma once
// A copy of one table's values in memory, laid out column by column: the text
// of a column lies back to back in one block, so a pass over it touches only
// that text.

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::db {

struct CopiedValue {
    int type = SQLITE_NULL; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
    std::uint32_t size = 0; // bytes of text or blob
    union {
        sqlite3_int64 integer = 0;
        double real;
        std::uint64_t offset; // of text or blob in the column's bytes
    };
};

struct CopiedColumn {
    std::string name;
    std::string declaredType; // as written in the table, without the collation
    std::string collation;
    std::vector<CopiedValue> values; // one per row
    std::string bytes;               // every text and blob of the column
    bool textOrNull = true;          // no value of another kind

    std::string_view textAt(std::size_t row) const
    {
        const CopiedValue &v = values[row];
        return {bytes.data() + v.offset, v.size};
    }
};

struct ColumnCopy {
    std::vector<CopiedColumn> columns;
    std::size_t rows = 0;
};

// The columns of main.<table> as declared, without values, and its rows
// counted; nothing when it cannot be read, with the reason in *why.
std::optional<ColumnCopy> describeTable(sqlite3 *db, const std::string &table, std::string *why);

// Copies the values of one column of main.<table> described as `described`,
// in rowid order, read through the rowid's name `rowid`, with each row's rowid
// into *rowids when given; nothing when it would need more than budgetBytes
// (the rowids included), cannot be read or does not hold `rows` rows.
std::optional<CopiedColumn> copyColumn(sqlite3 *db, const std::string &table, const CopiedColumn &described,
                                       const std::string &rowid, std::size_t rows, std::size_t budgetBytes,
                                       std::vector<sqlite3_int64> *rowids);

// What a copied column takes in memory.
std::size_t bytesOf(const CopiedColumn &column);

} // namespace platform::db
