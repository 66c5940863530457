#pragma once
// A copy of one table's values in memory, laid out column by column: the text
// of a column lies back to back in one block, so a pass over it touches only
// that text.

#include "platform/db/engine/LayerGuard.h"

#include <sqlite3.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::db {

// A column's values take nine bytes a row: the kind, and eight holding the
// integer, the number's bits, or where the text lies in the column's bytes
// (offset and size, 32 bits each: a copy stays within the budget, far below
// 4 GB, and is refused past it).
struct CopiedColumn {
    std::string name;
    std::string declaredType; // as written in the table, without the collation
    std::string collation;
    std::vector<std::uint8_t> types;     // per row: SQLITE_INTEGER, _FLOAT, _TEXT, _BLOB or _NULL
    std::vector<std::uint64_t> payloads; // per row, as above
    std::string bytes;                   // every text and blob of the column
    bool textOrNull = true;              // no value of another kind

    std::size_t rows() const { return types.size(); }
    int typeAt(std::size_t row) const { return types[row]; }
    std::size_t offsetAt(std::size_t row) const { return std::size_t(payloads[row] >> 32); }
    std::size_t sizeAt(std::size_t row) const { return std::size_t(payloads[row] & 0xffffffffu); }
    sqlite3_int64 integerAt(std::size_t row) const { return sqlite3_int64(payloads[row]); }
    double realAt(std::size_t row) const { return std::bit_cast<double>(payloads[row]); }
    std::string_view textAt(std::size_t row) const { return {bytes.data() + offsetAt(row), sizeAt(row)}; }
};

// What a row of a copied column takes besides its text.
inline constexpr std::size_t kBytesPerCopiedValue = sizeof(std::uint8_t) + sizeof(std::uint64_t);

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
