#include "mdb/RowPages.h"

#include <cstring>
#include <memory>
#include <stdexcept>

#include "mdb/Bytes.h"

namespace mdb {

namespace {
// Rows at least this large would leave a half-used page behind if they
// forced the current page closed.
constexpr std::size_t kLargeRow = jet::kPageSize / 2;
} // namespace

std::size_t RowPages::OpenPage::freeBytes() const
{
    const std::size_t used = jet::kDataPageHeaderSize + jet::kRowOffsetSize * rows;
    return rowsStart - used;
}

RowPages::RowPages(PageFile &file, std::uint32_t owner, Placement placement)
    : file_(file), owner_(owner), placement_(placement)
{
}

std::uint32_t RowPages::add(const std::uint8_t *row, std::size_t length)
{
    if (length > jet::kMaxRowBytesOnPage)
        throw std::logic_error("row larger than a page");
    const bool fits = current_.open && current_.rows < jet::kMaxRowsPerPage &&
                      current_.freeBytes() >= length + jet::kRowOffsetSize;
    if (fits)
        return place(current_, row, length);
    if (placement_ == Placement::LargeRowsAlone && length >= kLargeRow && current_.open) {
        auto alone = std::make_unique<OpenPage>();
        start(*alone);
        const std::uint32_t pointer = place(*alone, row, length);
        finish(*alone);
        return pointer;
    }
    if (current_.open)
        finish(current_);
    start(current_);
    return place(current_, row, length);
}

void RowPages::close()
{
    if (current_.open)
        finish(current_);
}

void RowPages::start(OpenPage &page)
{
    page.bytes.fill(0);
    page.number = file_.reservePage();
    page.rows = 0;
    page.rowsStart = jet::kPageSize;
    page.open = true;
    pages_.push_back(page.number);
}

std::uint32_t RowPages::place(OpenPage &page, const std::uint8_t *row, std::size_t length)
{
    page.rowsStart -= length;
    if (length > 0)
        std::memcpy(&page.bytes[page.rowsStart], row, length);
    storeU16(&page.bytes[jet::kDataPageHeaderSize + jet::kRowOffsetSize * page.rows], std::uint16_t(page.rowsStart));
    return jet::pageRow(page.number, std::uint32_t(page.rows++));
}

void RowPages::finish(OpenPage &page)
{
    page.bytes[0] = jet::kPageData;
    page.bytes[1] = 0x01;
    storeU16(&page.bytes[2], std::uint16_t(page.freeBytes()));
    storeU32(&page.bytes[4], owner_);
    storeU16(&page.bytes[12], std::uint16_t(page.rows));
    page.open = false;
    file_.writePage(page.number, page.bytes.data());
}

} // namespace mdb
