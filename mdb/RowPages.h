#pragma once
// Packs rows into data pages (type 0x01) of one owner: a table's rows, long
// values or usage-map rows. Rows sit packed from the end of the page backwards,
// without gaps, since readers find a row's end from the start of the previous one.

#include <cstdint>
#include <vector>

#include "mdb/FileHeader.h"
#include "mdb/PageFile.h"

namespace mdb {

class RowPages {
public:
    enum class Placement {
        InOrder,        // rows keep their order across pages (table rows)
        LargeRowsAlone  // a large row that does not fit gets a page of its own
    };

    RowPages(PageFile &file, std::uint32_t owner, Placement placement = Placement::InOrder);

    // Stores the row and returns its pg_row. The row must be at most
    // jet::kMaxRowBytesOnPage bytes.
    std::uint32_t add(const std::uint8_t *row, std::size_t length);
    // Writes the page still being filled.
    void close();
    // Every page written or being filled, in the order they were started.
    const std::vector<std::uint32_t> &pages() const { return pages_; }

private:
    struct OpenPage {
        Page bytes{};
        std::uint32_t number = 0;
        std::size_t rows = 0;
        std::size_t rowsStart = jet::kPageSize;  // lowest byte used by rows
        bool open = false;
        std::size_t freeBytes() const;
    };

    void start(OpenPage &page);
    std::uint32_t place(OpenPage &page, const std::uint8_t *row, std::size_t length);
    void finish(OpenPage &page);

    PageFile &file_;
    std::uint32_t owner_;
    Placement placement_;
    OpenPage current_;
    std::vector<std::uint32_t> pages_;
};

} // namespace mdb
