#pragma once
// The rows of one code table as the printed tables show them: a line per row,
// a column per character 4 to 7, each cell listing the values it allows.

#include "codetables/CodeTableSet.h"

#include <QAbstractTableModel>

namespace codetables {

class TableRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Empty when table is null.
    void setTable(const CodeTable *table);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<TableRow> rows_;
};

} // namespace codetables
