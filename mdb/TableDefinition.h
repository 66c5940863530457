#pragma once
// The table definition (TDEF) record and the pages that carry it.

#include <cstdint>
#include <vector>

#include "mdb/PageFile.h"
#include "mdb/TableLayout.h"

namespace mdb {

struct LongValueMaps {
    std::uint16_t column = 0;
    std::uint32_t usedPages = 0;  // pg_row of the map of the column's LVAL pages
    std::uint32_t freePages = 0;
};

struct TableDefinition {
    const TableLayout *layout = nullptr;
    std::uint32_t rowCount = 0;
    std::uint32_t usedPages = 0;  // pg_row of the owned-pages map
    std::uint32_t freePages = 0;  // pg_row of the free-space map
    std::vector<LongValueMaps> longValueMaps;
};

// Writes the definition starting at firstPage, continuing on freshly reserved
// pages when it does not fit one page.
void writeTableDefinition(PageFile &file, std::uint32_t firstPage, const TableDefinition &definition);

} // namespace mdb
