#include "mdb/UsageMap.h"

#include <algorithm>

#include "mdb/Bytes.h"
#include "mdb/FileHeader.h"

namespace mdb {

namespace {

constexpr std::uint8_t kInlineMap = 0x00;
constexpr std::uint8_t kReferenceMap = 0x01;
constexpr std::size_t kInlineBitmapBytes = 64;
constexpr std::uint32_t kInlinePages = kInlineBitmapBytes * 8;
constexpr std::size_t kReferenceSlots = 17;
constexpr std::size_t kBitmapPageHeader = 4;
constexpr std::uint32_t kPagesPerBitmapPage = (jet::kPageSize - kBitmapPageHeader) * 8;

static_assert(kReferenceSlots * kPagesPerBitmapPage >= jet::kMaxPages, "reference map must reach every page");

void setBit(std::uint8_t *bitmap, std::uint32_t bit) { bitmap[bit / 8] |= std::uint8_t(1u << (bit % 8)); }

std::vector<std::uint8_t> inlineMap(std::uint32_t start, const std::vector<std::uint32_t> &pages)
{
    std::vector<std::uint8_t> row;
    appendU8(row, kInlineMap);
    appendU32(row, start);
    appendZeros(row, kInlineBitmapBytes);
    for (std::uint32_t page : pages)
        setBit(&row[5], page - start);
    return row;
}

std::vector<std::uint8_t> referenceMap(const std::vector<std::uint32_t> &pages, PageFile &file)
{
    std::vector<std::uint8_t> row;
    appendU8(row, kReferenceMap);
    appendZeros(row, 4 * kReferenceSlots);
    std::vector<std::uint32_t> sorted(pages);
    std::sort(sorted.begin(), sorted.end());
    auto next = sorted.begin();
    for (std::uint32_t slot = 0; slot < kReferenceSlots && next != sorted.end(); ++slot) {
        const std::uint32_t first = slot * kPagesPerBitmapPage;
        const std::uint32_t end = first + kPagesPerBitmapPage;
        if (*next >= end)
            continue;
        Page bitmap{};
        bitmap[0] = jet::kPageUsageBitmap;
        bitmap[1] = 0x01;
        for (; next != sorted.end() && *next < end; ++next)
            setBit(&bitmap[kBitmapPageHeader], *next - first);
        const std::uint32_t number = file.reservePage();
        file.writePage(number, bitmap.data());
        storeU32(&row[1 + 4 * slot], number);
    }
    return row;
}

} // namespace

std::vector<std::uint8_t> buildUsageMap(const std::vector<std::uint32_t> &pages, PageFile &file)
{
    if (pages.empty())
        return emptyUsageMap();
    const auto [lowest, highest] = std::minmax_element(pages.begin(), pages.end());
    if (*highest - *lowest < kInlinePages)
        return inlineMap(*lowest, pages);
    return referenceMap(pages, file);
}

std::vector<std::uint8_t> emptyUsageMap() { return inlineMap(0, {}); }

} // namespace mdb
