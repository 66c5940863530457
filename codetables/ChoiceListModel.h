#pragma once
// A list of code characters and their labels ("0  Medical and Surgical"), the
// rows of every choice the code tables window offers.

#include "codetables/CodeTableSet.h"

#include <QAbstractListModel>

namespace codetables {

class ChoiceListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    void setChoices(QList<Choice> choices);
    int rowOf(QChar key) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<Choice> choices_;
};

} // namespace codetables
