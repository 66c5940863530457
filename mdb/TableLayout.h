#pragma once
// How a table's columns are laid out in its definition and in its rows.

#include <cstdint>
#include <string>
#include <vector>

namespace mdb {

// Jet column type codes. The public API offers Long, Text and Memo; the
// system tables also need Byte and Integer, and the others always Null.
enum class FieldType : std::uint8_t {
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
};

struct FieldDeclaration {
    std::string name;            // UTF-8
    FieldType type = FieldType::Text;
    std::uint16_t maxBytes = 0;  // Text: 2 per character; Binary: bytes
};

struct Field {
    std::string name;
    std::u16string nameUtf16;
    FieldType type = FieldType::Text;
    std::uint16_t number = 0;       // also the bit in the null mask
    std::uint16_t varIndex = 0;     // variable columns only
    std::uint16_t fixedOffset = 0;  // fixed columns only
    std::uint16_t length = 0;       // as the definition records it

    bool isFixed() const;
    bool isLongValue() const { return type == FieldType::Memo || type == FieldType::Ole; }
};

struct TableLayout {
    std::string name;
    std::u16string nameUtf16;
    bool system = false;
    std::vector<Field> fields;
    std::uint16_t fixedSize = 0;
    std::uint16_t variableCount = 0;

    std::size_t nullMaskSize() const { return (fields.size() + 7) / 8; }
};

// Validates the names (throws WriterError) and assigns numbers and offsets:
// columns keep their declared order; fixed columns fill the fixed area in
// that order and variable columns are numbered in that order too.
TableLayout makeTableLayout(const std::string &tableName, const std::vector<FieldDeclaration> &fields, bool system);

// "Table \"name\"" for error messages.
std::string describeTable(const std::string &tableName);

} // namespace mdb
