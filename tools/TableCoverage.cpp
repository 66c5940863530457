#include "tools/TableCoverage.h"

#include "tools/Release.h"
#include "tools/SourceError.h"

#include <unordered_set>

namespace pcsdb {

namespace {

// The first code of the row (prefix + one value per axis) not in ordered, or empty.
std::string firstUnorderedCode(const std::string &prefix, const PcsTables::Row &row,
                               const std::unordered_set<std::string> &ordered)
{
    std::string code = prefix + std::string(PcsTables::rowAxes, ' ');
    std::array<std::size_t, PcsTables::rowAxes> choice{};
    for (;;) {
        for (int axis = 0; axis < PcsTables::rowAxes; ++axis)
            code[PcsTables::tableAxes + axis] = row.axes[axis].inFileOrder[choice[axis]];
        if (!ordered.contains(code))
            return code;
        int axis = PcsTables::rowAxes - 1;
        while (axis >= 0 && ++choice[axis] == row.axes[axis].inFileOrder.size())
            choice[axis--] = 0;
        if (axis < 0)
            return {};
    }
}

} // namespace

void checkTableCodesAreOrdered(const Release &release)
{
    std::unordered_set<std::string> ordered;
    ordered.reserve(release.order.size());
    for (const OrderEntry &entry : release.order)
        ordered.insert(entry.code);
    for (const std::string &prefix : release.tables.prefixesInFileOrder()) {
        for (const PcsTables::Row &row : release.tables.tableOf(prefix)->rows) {
            const std::string code = firstUnorderedCode(prefix, row, ordered);
            if (!code.empty())
                throw SourceError(release.files.tables, row.line,
                                  "pcsRow allows code " + code + ", which is not in the order file "
                                      + release.files.order.string());
        }
    }
}

} // namespace pcsdb
