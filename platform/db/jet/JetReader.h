#pragma once
// Reads the user tables of a Jet file held in memory (Jet 3, Jet 4 or the ACE
// format of Access 2007 and later), through libmdb. Values come out typed,
// with Null apart from empty text, and Text/Memo decoded here rather than by
// libmdb (whole, whatever their length, and with characters outside the Basic
// Multilingual Plane intact; Jet 3 text from its code page). Anything that
// does not add up raises JetDamage; libmdb itself is not hardened, so callers
// run this where a crash or a hang cannot hurt (see IsolatedLoader).
//
// Values as statements use them: Byte, Integer, Long and Yes/No (-1/0) as
// integers; Single and Double as reals (a Single as the decimal it shows);
// Currency and Decimal as exact decimal text that the copy keeps as a number;
// Date/Time as "YYYY-MM-DD HH:MM:SS" text; GUIDs as "{...}" text; OLE objects
// and binary columns as blobs.

#include "platform/db/jet/LayerGuard.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform::db {

class JetDamage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct JetValue {
    // Number: the decimal text of a Currency or Decimal value.
    enum Kind { Null, Integer, Real, Text, Blob, Number };
    Kind kind = Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes; // UTF-8 for Text, raw for Blob
};

struct JetColumn {
    std::string name;
    JetValue::Kind kind; // what its non-Null values are; Null: a type this reader skips
};

// A saved query's catalog entry.
struct JetQueryEntry {
    std::string name;
    std::uint32_t id = 0;
    int flags = 0;
};

class JetFile {
public:
    // bytes must stay alive and unchanged while the JetFile exists.
    explicit JetFile(std::string_view bytes);
    ~JetFile();
    JetFile(const JetFile &) = delete;
    JetFile &operator=(const JetFile &) = delete;

    std::size_t userTableCount() const;
    std::vector<JetQueryEntry> queryEntries() const;

private:
    friend class JetTable;
    struct Impl;
    std::unique_ptr<Impl> d;
};

class JetTable {
public:
    JetTable(JetFile &file, std::size_t userTableIndex);
    // Any table of the catalog, system tables included, by its exact name;
    // throws JetDamage when the file has none of that name.
    JetTable(JetFile &file, const std::string &name);
    ~JetTable();
    JetTable(const JetTable &) = delete;
    JetTable &operator=(const JetTable &) = delete;

    const std::string &name() const;
    const std::vector<JetColumn> &columns() const;
    // Reads the next row into values(); false after the last one. Throws
    // JetDamage when the rows read do not match the count the table announces.
    bool nextRow();
    const std::vector<JetValue> &values() const;

private:
    friend class JetFile; // reads its catalog as a table
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace platform::db
