#pragma once
// Writes Jet 4 (.mdb) files from nothing: user tables of Long Integer, Text and
// Memo columns. The file appears under its final name only once finish() has
// written it completely; until then it lives under a temporary name beside it.

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

struct ColumnSpec {
    std::string name;            // UTF-8
    ColumnType type = ColumnType::Text;
    int textLength = 255;        // characters, 1..255; only for Text
};

// A missing value (Null), a Long Integer, or text in UTF-8.
using Value = std::variant<std::monostate, std::int32_t, std::string>;

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

    TableHandle addTable(const std::string &name, const std::vector<ColumnSpec> &columns);
    void appendRow(TableHandle table, const std::vector<Value> &values);
    // Writes the file and renames it into place. Throws WriterError on failure,
    // leaving no file (or the previous one) at the target.
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace mdb
