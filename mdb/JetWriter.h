#pragma once
// Writes Jet 4 (.mdb) files from nothing: user tables of Long Integer, Text and
// Memo columns. The file appears under its final name only once finish() has
// written it completely; until then it lives under a temporary name beside it
// ("<name>.tmp-xxxxxxxx"), removed again if writing fails or is abandoned.
//
// Rows go to disk as pages fill, so memory stays small whatever the row count.
// Every column may hold Null. Limits, each reported as a WriterError:
// - names: 1 to 64 characters, no leading space, no control characters and
//   none of . ! ` [ ]; table names unique, column names unique within their
//   table (letter case ignored, as Jet does);
// - at most 255 columns; Text columns hold 1 to 255 characters (UTF-16 units);
// - a row must fit Jet's 4060-byte record (Memo values mostly live outside it);
// - a Memo value holds at most 16 MB once stored; the file at most 2 GB.
// Errors about a row name the table, the column and the 1-based row number
// the row would have had; a rejected row leaves nothing behind and the writer
// stays usable. Errors of the file system name the file and the reason; after
// one the temporary file is gone and every further call fails.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace mdb {

enum class ColumnType { Long, Text, Memo };

struct ColumnDefinition {
    std::string name;            // UTF-8
    ColumnType type = ColumnType::Text;
    int textLength = 255;        // characters, 1..255; only for Text
};

// A missing value (Null), a Long Integer, or text in UTF-8.
using Value = std::variant<std::monostate, std::int32_t, std::string>;

// A saved select query, kept as Access keeps one (rows of MSysQueries and a
// catalog entry), so that Jet readers list it and can rebuild its text.
// Expressions are Jet SQL as written in Access: [names], "text", ...
enum class JoinKind { Inner = 1, Left = 2, Right = 3 };

struct QueryJoin {
    std::string leftTable, rightTable;
    std::string condition; // e.g. "codes.ID = mapping.ID"
    JoinKind kind = JoinKind::Inner;
};

struct QueryColumn {
    std::string expression;
    std::string alias; // empty: none
};

struct QueryOrder {
    std::string expression;
    bool descending = false;
};

struct SavedSelectQuery {
    std::string name; // shares the names of tables: unique among both
    bool distinct = false;
    std::vector<QueryColumn> columns;
    std::vector<std::string> tables;
    std::vector<QueryJoin> joins;
    std::string where; // empty: none
    std::vector<QueryOrder> orderBy;
};

class WriterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class JetWriter {
public:
    using TableHandle = std::size_t;

    explicit JetWriter(std::filesystem::path target);
    ~JetWriter();  // without finish(), nothing is left behind
    JetWriter(const JetWriter &) = delete;
    JetWriter &operator=(const JetWriter &) = delete;

    // Tables may be added at any time before finish(), also between rows.
    TableHandle addTable(const std::string &name, const std::vector<ColumnDefinition> &columns);
    // Stored when the file is finished; the tables it reads need not exist.
    void addSelectQuery(const SavedSelectQuery &query);
    // One value per column, in column order.
    void appendRow(TableHandle table, const std::vector<Value> &values);
    // Writes the file and renames it into place. Throws WriterError on failure,
    // leaving no file (or the previous one) at the target.
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace mdb
