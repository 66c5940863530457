#pragma once
// The order ORDER BY gives the rows of a copied text column under the column's
// case-blind collation: Nulls first, then texts as compareIgnoringCase orders
// them, equal texts in table order, as SQLite's own sorter leaves them. A scan
// table that hands SQLite its rows in this order spares it the sorting.

#include "platform/db/engine/LayerGuard.h"

#include "platform/db/engine/ColumnCopy.h"

#include <cstdint>
#include <vector>

namespace platform::db {

// Puts rows (positions in the copy) in that order.
void sortRows(const CopiedColumn &column, std::vector<std::uint32_t> &rows);

} // namespace platform::db
