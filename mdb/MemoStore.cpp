#include "mdb/MemoStore.h"

#include "mdb/Bytes.h"

namespace mdb {

namespace {
constexpr std::uint8_t kInline = 0x80;
constexpr std::uint8_t kSingleRow = 0x40;
constexpr std::uint8_t kChain = 0x00;

void appendHeader(std::vector<std::uint8_t> &row, std::size_t length, std::uint8_t kind, std::uint32_t pointer)
{
    appendU16(row, std::uint16_t(length));
    appendU8(row, std::uint8_t(length >> 16));
    appendU8(row, kind);
    appendU32(row, pointer);
    appendU32(row, 0);
}
} // namespace

MemoStore::MemoStore(PageFile &file) : lval_(file, jet::kLongValueOwner, RowPages::Placement::LargeRowsAlone) {}

std::size_t MemoStore::sizeInRow(std::size_t storedLength)
{
    return kHeaderSize + (storedLength <= kMaxInline ? storedLength : 0);
}

void MemoStore::store(const std::vector<std::uint8_t> &stored, std::vector<std::uint8_t> &row)
{
    const std::size_t length = stored.size();
    if (length <= kMaxInline) {
        // Also for the empty memo: readers need the header even then.
        appendHeader(row, length, kInline, 0);
        row.insert(row.end(), stored.begin(), stored.end());
    } else if (length <= kMaxSingleRow) {
        appendHeader(row, length, kSingleRow, lval_.add(stored.data(), length));
    } else {
        appendHeader(row, length, kChain, storeChain(stored));
    }
}

std::uint32_t MemoStore::storeChain(const std::vector<std::uint8_t> &stored)
{
    // Written tail first, so each link can point at the one after it.
    const std::size_t links = (stored.size() + kChainChunk - 1) / kChainChunk;
    std::uint32_t next = 0;
    for (std::size_t n = links; n-- > 0;) {
        const std::size_t begin = n * kChainChunk;
        const std::size_t end = std::min(stored.size(), begin + kChainChunk);
        link_.clear();
        appendU32(link_, next);
        link_.insert(link_.end(), stored.begin() + std::ptrdiff_t(begin), stored.begin() + std::ptrdiff_t(end));
        next = lval_.add(link_.data(), link_.size());
    }
    return next;
}

} // namespace mdb
