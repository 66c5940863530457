#include "platform/db/engine/ColumnOrder.h"

#include "platform/db/engine/CaseInsensitiveText.h"

#include <algorithm>

namespace platform::db {

void sortRows(const CopiedColumn &column, std::vector<std::uint32_t> &rows)
{
    std::sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) {
        const bool nullA = column.typeAt(a) == SQLITE_NULL;
        const bool nullB = column.typeAt(b) == SQLITE_NULL;
        if (nullA || nullB)
            return nullA != nullB ? nullA : a < b;
        const int order = compareIgnoringCase(column.textAt(a), column.textAt(b));
        return order != 0 ? order < 0 : a < b;
    });
}

} // namespace platform::db
