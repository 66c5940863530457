#include "lookup/TextListModel.h"

#include <limits>

namespace lookup {

int TextListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : announced_;
}

QVariant TextListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= announced_)
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    return rows_.at(index.row());
}

Qt::ItemFlags TextListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

bool TextListModel::full() const
{
    // Rows are addressed by int; a list that long could not be shown anyway.
    return rows_.size() >= std::numeric_limits<int>::max();
}

void TextListModel::append(const QString &text)
{
    if (full())
        return;
    announceKeptBack();
    beginInsertRows(QModelIndex(), announced_, announced_);
    rows_.append(text);
    ++announced_;
    endInsertRows();
}

void TextListModel::appendKeptBack(const QString &text)
{
    if (!full())
        rows_.append(text);
}

void TextListModel::announceKeptBack()
{
    const int stored = storedCount();
    if (announced_ == stored)
        return;
    beginInsertRows(QModelIndex(), announced_, stored - 1);
    announced_ = stored;
    endInsertRows();
}

void TextListModel::clear()
{
    beginResetModel();
    rows_.clear();
    announced_ = 0;
    endResetModel();
}

QString TextListModel::text(int row) const
{
    return row >= 0 && row < rows_.size() ? rows_.at(row) : QString();
}

} // namespace lookup
