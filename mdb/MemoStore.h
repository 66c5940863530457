#pragma once
// Memo values: a 12-byte header in the row, with the bytes either following it
// (short values), in one long-value (LVAL) row, or in a chain of LVAL rows.

#include <cstdint>
#include <vector>

#include "mdb/PageFile.h"
#include "mdb/RowPages.h"

namespace mdb {

class MemoStore {
public:
    static constexpr std::size_t kHeaderSize = 12;
    static constexpr std::size_t kMaxInline = 64;
    static constexpr std::size_t kMaxSingleRow = 4076;
    static constexpr std::size_t kChainChunk = kMaxSingleRow - 4;  // each link starts with the next pointer
    static constexpr std::size_t kMaxLength = 0xFFFFFF;             // the header holds 3 length bytes

    explicit MemoStore(PageFile &file);

    // Bytes the value takes inside the row, given its stored length.
    static std::size_t sizeInRow(std::size_t storedLength);
    // Appends the in-row form of the stored bytes to row, writing LVAL rows as needed.
    void store(const std::vector<std::uint8_t> &stored, std::vector<std::uint8_t> &row);
    void close() { lval_.close(); }
    // The LVAL pages of this column.
    const std::vector<std::uint32_t> &pages() const { return lval_.pages(); }

private:
    std::uint32_t storeChain(const std::vector<std::uint8_t> &stored);

    RowPages lval_;
    std::vector<std::uint8_t> link_;
};

} // namespace mdb
