#include "lookup/TextListModel.h"

#include <limits>

namespace lookup {

int TextListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant TextListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= rows_.size())
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    return rows_.at(index.row());
}

Qt::ItemFlags TextListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void TextListModel::append(const QString &text)
{
    // Rows are addressed by int; a list that long could not be shown anyway.
    if (rows_.size() >= std::numeric_limits<int>::max())
        return;
    const int row = int(rows_.size());
    beginInsertRows(QModelIndex(), row, row);
    rows_.append(text);
    endInsertRows();
}

void TextListModel::clear()
{
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QString TextListModel::text(int row) const
{
    return row >= 0 && row < rows_.size() ? rows_.at(row) : QString();
}

} // namespace lookup
