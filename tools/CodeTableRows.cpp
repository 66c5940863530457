#include "tools/CodeTableRows.h"

#include "tools/PcsTables.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace pcsdb {

namespace {

std::string textOf(const PcsTables &tables, PcsTables::LabelId id)
{
    return id == PcsTables::Axis::noLabel ? std::string() : tables.label(id);
}

// The row's axes as the file gives them, whatever their pos attributes say.
std::array<int, PcsTables::rowAxes> axesInFileOrder(const PcsTables::Row &row)
{
    std::array<int, PcsTables::rowAxes> order;
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return row.axes[a].fileIndex < row.axes[b].fileIndex; });
    return order;
}

} // namespace

CodeTableRows assembleCodeTableRows(const PcsTables &tables)
{
    CodeTableRows rows;
    for (const std::string &prefix : tables.prefixesInFileOrder()) {
        const PcsTables::Table &table = *tables.tableOf(prefix);
        rows.tables.push_back({prefix, textOf(tables, table.labels[0]), textOf(tables, table.labels[1]),
                               textOf(tables, table.labels[2]), table.definition});
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const PcsTables::Row &row = table.rows[r];
            for (const int index : axesInFileOrder(row)) {
                const PcsTables::Axis &axis = row.axes[static_cast<std::size_t>(index)];
                for (const char value : axis.inFileOrder)
                    rows.axes.push_back({prefix, static_cast<int>(r + 1), PcsTables::tableAxes + 1 + index,
                                         textOf(tables, axis.title), value, textOf(tables, axis.labelOf(value))});
            }
        }
    }
    return rows;
}

} // namespace pcsdb
