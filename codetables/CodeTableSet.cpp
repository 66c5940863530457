#include "codetables/CodeTableSet.h"

namespace codetables {

namespace {

void addOnce(QList<Choice> &choices, QChar key, const QString &text)
{
    for (const Choice &choice : std::as_const(choices)) {
        if (choice.key == key)
            return;
    }
    choices.append({key, text});
}

} // namespace

qsizetype RowAxis::indexOf(QChar value) const
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (values[i].key == value)
            return i;
    }
    return -1;
}

bool TableRow::holds(QStringView code) const
{
    if (code.size() != 7)
        return false;
    for (std::size_t axis = 0; axis < axes.size(); ++axis) {
        if (axes[axis].indexOf(code[qsizetype(axis) + 3]) < 0)
            return false;
    }
    return true;
}

qsizetype CodeTable::rowHolding(QStringView code) const
{
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (rows[row].holds(code))
            return row;
    }
    return -1;
}

void CodeTableSet::addTable(CodeTable table)
{
    if (table.code.size() != 3 || index_.contains(table.code))
        return;
    index_.insert(table.code, tables_.size());
    tables_.append(std::move(table));
}

bool CodeTableSet::addValue(const QString &tableCode, int rowNo, int pos, const QString &title, QChar value,
                            const QString &label)
{
    const auto found = index_.constFind(tableCode);
    if (found == index_.constEnd() || rowNo < 1 || rowNo > MaxRowsPerTable || pos < 4 || pos > 7)
        return false;
    CodeTable &table = tables_[*found];
    if (table.rows.size() < rowNo)
        table.rows.resize(rowNo);
    RowAxis &axis = table.rows[rowNo - 1].axes[std::size_t(pos - 4)];
    axis.title = title;
    if (axis.indexOf(value) < 0)
        axis.values.append({value, label});
    return true;
}

const CodeTable *CodeTableSet::table(const QString &code) const
{
    const auto found = index_.constFind(code);
    return found == index_.constEnd() ? nullptr : &tables_[*found];
}

QList<Choice> CodeTableSet::sections() const
{
    QList<Choice> choices;
    for (const CodeTable &table : tables_)
        addOnce(choices, table.code[0], table.section);
    return choices;
}

QList<Choice> CodeTableSet::bodySystems(QChar section) const
{
    QList<Choice> choices;
    for (const CodeTable &table : tables_) {
        if (table.code[0] == section)
            addOnce(choices, table.code[1], table.bodySystem);
    }
    return choices;
}

QList<Choice> CodeTableSet::operations(QChar section, QChar bodySystem) const
{
    QList<Choice> choices;
    for (const CodeTable &table : tables_) {
        if (table.code[0] == section && table.code[1] == bodySystem)
            addOnce(choices, table.code[2], table.operation);
    }
    return choices;
}

} // namespace codetables
