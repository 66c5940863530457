#include "codetables/TableRowsModel.h"

namespace codetables {

void TableRowsModel::setTable(const CodeTable *table)
{
    beginResetModel();
    rows_ = table ? table->rows : QList<TableRow>();
    endResetModel();
}

int TableRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int TableRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant TableRowsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RowAxis &axis = rows_[index.row()].axes[std::size_t(index.column())];
    QStringList lines;
    switch (role) {
    case Qt::DisplayRole:
        for (const Choice &value : axis.values)
            lines << QString(value.key) + QStringLiteral("  ") + value.text;
        return lines.join(QLatin1Char('\n'));
    case Qt::AccessibleTextRole:
        for (const Choice &value : axis.values)
            lines << QString(value.key) + QStringLiteral(", ") + value.text;
        return axis.title + QStringLiteral(": ") + lines.join(QStringLiteral("; "));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

QVariant TableRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return {};
    if (orientation == Qt::Vertical)
        return section < rows_.size() ? QVariant(QStringLiteral("Row %1").arg(section + 1)) : QVariant();
    if (section >= 4)
        return {};
    // The titles of the first row; every row of a table names its axes alike.
    const QString title = rows_.isEmpty() ? QString() : rows_.first().axes[std::size_t(section)].title;
    return QStringLiteral("%1 (character %2)").arg(title.isEmpty() ? QStringLiteral("Value") : title).arg(section + 4);
}

} // namespace codetables
