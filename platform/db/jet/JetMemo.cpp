#include "platform/db/jet/JetMemo.h"

#include "platform/db/jet/JetReader.h"

#include <cstring>

namespace platform::db {
namespace {

constexpr std::size_t kHeaderSize = MDB_MEMO_OVERHEAD;
constexpr std::uint32_t kInline = 0x80;
constexpr std::uint32_t kSingleRow = 0x40;
constexpr std::uint32_t kChain = 0x00;

std::uint32_t u32At(std::string_view s, std::size_t at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(s.data()) + at;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
        | (std::uint32_t(p[3]) << 24);
}

// The bytes of the long-value row that pg_row names.
std::string_view longValueRow(MdbHandle *mdb, std::uint32_t pgRow)
{
    void *page = nullptr;
    int offset = 0;
    size_t length = 0;
    if (pgRow == 0 || mdb_find_pg_row(mdb, static_cast<int>(pgRow), &page, &offset, &length) != 0)
        throw JetDamage("a long text points to a row that does not exist");
    const auto *bytes = static_cast<const unsigned char *>(page);
    if (bytes[0] != 0x01 || std::memcmp(bytes + 4, "LVAL", 4) != 0)
        throw JetDamage("a long text points to a page that holds no long values");
    return {reinterpret_cast<const char *>(bytes) + offset, length};
}

std::string readChain(MdbHandle *mdb, std::uint32_t pgRow, std::size_t announced,
                      std::size_t pageCount)
{
    std::string out;
    out.reserve(announced);
    // A chain visits each long-value row at most once, and every row adds data.
    const std::size_t maxLinks = pageCount * 256;
    for (std::size_t links = 0; pgRow != 0; ++links) {
        if (links >= maxLinks)
            throw JetDamage("a long text's chain of pages loops");
        const std::string_view row = longValueRow(mdb, pgRow);
        if (row.size() <= 4)
            throw JetDamage("a long text's chain holds an empty link");
        if (out.size() + row.size() - 4 > announced)
            throw JetDamage("a long text is longer than its header says");
        out.append(row.substr(4));
        pgRow = u32At(row, 0);
    }
    if (out.size() != announced)
        throw JetDamage("a long text is shorter than its header says");
    return out;
}

} // namespace

std::string readMemoBytes(MdbHandle *mdb, std::string_view field, std::size_t pageCount)
{
    if (field.size() < kHeaderSize)
        throw JetDamage("a long text's header is cut short");
    const std::uint32_t word = u32At(field, 0);
    const std::size_t announced = word & 0x00FFFFFF;
    const std::uint32_t kind = word >> 24;
    const std::uint32_t pgRow = u32At(field, 4);
    switch (kind) {
    case kInline:
        return std::string(field.substr(kHeaderSize));
    case kSingleRow:
        return std::string(longValueRow(mdb, pgRow));
    case kChain:
        return readChain(mdb, pgRow, announced, pageCount);
    default:
        throw JetDamage("a long text has an unknown storage kind");
    }
}

} // namespace platform::db
