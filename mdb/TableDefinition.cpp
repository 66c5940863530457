#include "mdb/TableDefinition.h"

#include <algorithm>

#include "mdb/Bytes.h"
#include "mdb/FileHeader.h"
#include "mdb/JetFormat.h"

namespace mdb {

namespace {

constexpr std::size_t kPageHeader = 8;  // type, 0x01, free space, next page
constexpr std::uint32_t kMagic = 1625;
constexpr std::uint8_t kUserTable = 0x4E;
constexpr std::uint8_t kSystemTable = 0x53;
constexpr std::uint8_t kFixedLengthFlag = 0x01;
constexpr std::uint8_t kCanBeNullFlag = 0x02;
constexpr std::uint8_t kCompressedUnicodeFlag = 0x01;

void appendName(std::vector<std::uint8_t> &out, const std::u16string &name)
{
    appendU16(out, std::uint16_t(2 * name.size()));
    for (char16_t c : name)
        appendU16(out, c);
}

void appendColumn(std::vector<std::uint8_t> &out, const Field &field)
{
    const bool text = field.type == FieldType::Text || field.type == FieldType::Memo;
    appendU8(out, std::uint8_t(field.type));
    appendU32(out, kMagic);
    appendU16(out, field.number);
    appendU16(out, field.isFixed() ? 0 : field.varIndex);
    appendU16(out, field.number);
    if (text) {
        appendU16(out, jet::kGeneralSortOrder);
        appendU16(out, 0);
    } else {
        appendU32(out, 0);
    }
    appendU8(out, std::uint8_t((field.isFixed() ? kFixedLengthFlag : 0) | kCanBeNullFlag));
    appendU8(out, text ? kCompressedUnicodeFlag : 0);
    appendU32(out, 0);
    appendU16(out, field.isFixed() ? field.fixedOffset : 0);
    appendU16(out, field.length);
}

// The definition as one stream, laid out as if the first page were endless:
// stream offset k is offset k of the first page; bytes 0..7 are page header.
std::vector<std::uint8_t> encode(const TableDefinition &definition)
{
    const TableLayout &layout = *definition.layout;
    const auto columns = std::uint16_t(layout.fields.size());
    std::vector<std::uint8_t> out;
    appendZeros(out, kPageHeader);
    appendU32(out, 0);  // total length, known at the end
    appendU32(out, kMagic);
    appendU32(out, definition.rowCount);
    appendU32(out, 0);  // next autonumber
    appendU8(out, 1);
    appendZeros(out, 15);
    appendU8(out, layout.system ? kSystemTable : kUserTable);
    appendU16(out, columns);
    appendU16(out, layout.variableCount);
    appendU16(out, columns);
    appendU32(out, 0);  // logical indexes
    appendU32(out, 0);  // physical indexes
    appendU32(out, definition.usedPages);
    appendU32(out, definition.freePages);
    for (const Field &field : layout.fields)
        appendColumn(out, field);
    for (const Field &field : layout.fields)
        appendName(out, field.nameUtf16);
    for (const LongValueMaps &maps : definition.longValueMaps) {
        appendU16(out, maps.column);
        appendU32(out, maps.usedPages);
        appendU32(out, maps.freePages);
    }
    appendU16(out, 0xFFFF);
    storeU32(&out[kPageHeader], std::uint32_t(out.size()));
    return out;
}

} // namespace

void writeTableDefinition(PageFile &file, std::uint32_t firstPage, const TableDefinition &definition)
{
    const std::vector<std::uint8_t> stream = encode(definition);
    constexpr std::size_t kPayload = jet::kPageSize - kPageHeader;
    std::size_t at = kPageHeader;
    std::uint32_t number = firstPage;
    while (true) {
        const std::size_t length = std::min(kPayload, stream.size() - at);
        const bool last = at + length == stream.size();
        // Reserving before writing lets each page name its successor.
        const std::uint32_t next = last ? 0 : file.reservePage();
        Page page{};
        page[0] = jet::kPageTableDefinition;
        page[1] = 0x01;
        storeU16(&page[2], std::uint16_t(kPayload - length));
        storeU32(&page[4], next);
        std::copy_n(stream.begin() + std::ptrdiff_t(at), length, page.begin() + kPageHeader);
        file.writePage(number, page.data());
        if (last)
            return;
        at += length;
        number = next;
    }
}

} // namespace mdb
