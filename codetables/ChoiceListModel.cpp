#include "codetables/ChoiceListModel.h"

namespace codetables {

void ChoiceListModel::setChoices(QList<Choice> choices)
{
    beginResetModel();
    choices_ = std::move(choices);
    endResetModel();
}

int ChoiceListModel::rowOf(QChar key) const
{
    for (qsizetype row = 0; row < choices_.size(); ++row) {
        if (choices_[row].key == key)
            return int(row);
    }
    return -1;
}

int ChoiceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(choices_.size());
}

QVariant ChoiceListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Choice &choice = choices_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return QString(choice.key) + QStringLiteral("  ") + choice.text;
    case Qt::AccessibleTextRole:
        // Read as "0, Medical and Surgical" rather than as one run of characters.
        return QString(choice.key) + QStringLiteral(", ") + choice.text;
    case KeyRole:
        return QString(choice.key);
    default:
        return {};
    }
}

} // namespace codetables
