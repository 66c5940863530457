#include "tools/PcsTables.h"

#include <bit>

namespace pcsdb {

void PcsTables::Axis::add(char c, LabelId label)
{
    const auto index = static_cast<std::size_t>(pcsCharacterIndex(c));
    labels[index] = label;
    characters |= std::uint64_t(1) << index;
    inFileOrder += c;
}

PcsTables::LabelId PcsTables::Axis::labelOf(char c) const
{
    const int index = pcsCharacterIndex(c);
    return index < 0 ? noLabel : labels[static_cast<std::size_t>(index)];
}

PcsTables::LabelId PcsTables::addLabel(std::string text)
{
    m_labels.push_back(std::move(text));
    return static_cast<LabelId>(m_labels.size() - 1);
}

void PcsTables::addTable(const std::string &prefix, Table table)
{
    if (m_tables.insert_or_assign(prefix, std::move(table)).second)
        m_fileOrder.push_back(prefix);
}

const PcsTables::Table *PcsTables::tableOf(std::string_view prefix) const
{
    const auto found = m_tables.find(std::string(prefix));
    return found == m_tables.end() ? nullptr : &found->second;
}

std::optional<PcsTables::Meaning> PcsTables::meaningOf(std::string_view code) const
{
    if (code.size() != pcsCodeLength)
        return std::nullopt;
    const Table *table = tableOf(code.substr(0, tableAxes));
    if (!table)
        return std::nullopt;
    for (const Row &row : table->rows) {
        Meaning meaning;
        bool holds = true;
        for (int axis = 0; axis < rowAxes && holds; ++axis) {
            const LabelId label = row.axes[axis].labelOf(code[tableAxes + axis]);
            holds = label != Axis::noLabel;
            if (holds)
                meaning[tableAxes + axis] = m_labels[static_cast<std::size_t>(label)];
        }
        if (!holds)
            continue;
        for (int axis = 0; axis < tableAxes; ++axis)
            meaning[axis] = m_labels[static_cast<std::size_t>(table->labels[axis])];
        return meaning;
    }
    return std::nullopt;
}

std::optional<std::string> PcsTables::sharedCharacters(const Row &a, const Row &b)
{
    // Bit masks keep this cheap: a table's rows are compared pair by pair.
    std::string characters;
    for (int axis = 0; axis < rowAxes; ++axis) {
        const std::uint64_t common = a.axes[axis].characters & b.axes[axis].characters;
        if (common == 0)
            return std::nullopt;
        characters += pcsAlphabet[static_cast<std::size_t>(std::countr_zero(common))];
    }
    return characters;
}

} // namespace pcsdb
