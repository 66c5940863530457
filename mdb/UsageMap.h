#pragma once
// Usage maps: the rows through which readers find a table's data pages (and
// Access a memo column's long-value pages).

#include <cstdint>
#include <vector>

#include "mdb/PageFile.h"

namespace mdb {

// The row of a map listing exactly the given pages. Pages within 512 of the
// first fit an inline bitmap (type 0); farther spreads get a reference map
// (type 1) whose bitmap pages are written to file here. An inline map over a
// wider spread would silently lose every page past the 512th.
std::vector<std::uint8_t> buildUsageMap(const std::vector<std::uint32_t> &pages, PageFile &file);

// An inline map listing no page.
std::vector<std::uint8_t> emptyUsageMap();

} // namespace mdb
