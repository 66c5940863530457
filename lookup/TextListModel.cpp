#include "lookup/TextListModel.h"

#include <QStringEncoder>

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
    return text(index.row());
}

Qt::ItemFlags TextListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

bool TextListModel::full() const
{
    // Rows are addressed by int; a list that long could not be shown anyway.
    return ends_.size() >= std::size_t(std::numeric_limits<int>::max());
}

void TextListModel::store(const QString &text)
{
    // Encoded in place: no string of its own on the way either.
    const qsizetype start = characters_.size();
    characters_.resize(start + 3 * text.size()); // at most three bytes per UTF-16 unit
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    characters_.truncate(encoder.appendToBuffer(characters_.data() + start, text) - characters_.constData());
    ends_.push_back(characters_.size());
}

void TextListModel::append(const QString &text)
{
    if (full())
        return;
    announceKeptBack();
    beginInsertRows(QModelIndex(), announced_, announced_);
    store(text);
    ++announced_;
    endInsertRows();
}

void TextListModel::appendKeptBack(const QString &text)
{
    if (!full())
        store(text);
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
    characters_ = QByteArray();
    ends_ = {};
    announced_ = 0;
    endResetModel();
}

QByteArrayView TextListModel::utf8(int row) const
{
    if (row < 0 || std::size_t(row) >= ends_.size())
        return {};
    const qsizetype start = row == 0 ? 0 : ends_[std::size_t(row) - 1];
    return QByteArrayView(characters_).sliced(start, ends_[std::size_t(row)] - start);
}

} // namespace lookup
