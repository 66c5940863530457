#pragma once
// Turns one row of values into Jet 4 row bytes: column count, fixed area,
// variable data, then the trailer readers parse from the row's end (end of
// data, variable offsets last-first, variable count, null mask).

#include <cstdint>
#include <string>
#include <vector>

#include "mdb/JetWriter.h"
#include "mdb/MemoStore.h"
#include "mdb/TableLayout.h"

namespace mdb {

class RowEncoder {
public:
    explicit RowEncoder(const TableLayout &layout);

    // Checks every value before anything is stored, so a rejected row leaves
    // no trace; then stores memo values through memoStores (one per field,
    // null for other fields) and returns the row bytes. rowNumber is 1-based
    // and only used in error messages.
    const std::vector<std::uint8_t> &encode(const std::vector<Value> &values, std::uint64_t rowNumber,
                                            const std::vector<MemoStore *> &memoStores);

private:
    std::size_t prepare(const std::vector<Value> &values, std::uint64_t rowNumber);
    void prepareText(const Field &field, const std::string &text, std::uint64_t rowNumber);
    void assemble(const std::vector<MemoStore *> &memoStores);
    std::size_t sizeOf(const Field &field) const;
    void releaseLargeBuffers();
    [[noreturn]] void fail(const Field &field, std::uint64_t rowNumber, const std::string &problem) const;

    const TableLayout &layout_;
    std::vector<bool> present_;
    std::vector<std::int32_t> numbers_;
    std::vector<std::vector<std::uint8_t>> stored_;  // stored form of each text/memo value
    std::u16string utf16_;
    std::vector<std::uint16_t> starts_;  // where each variable value begins
    std::vector<std::uint8_t> row_;
};

} // namespace mdb
