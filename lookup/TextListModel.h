#pragma once
// The rows of a one-column text list box, one text per row. A search appends
// tens of thousands of rows one at a time; a row here is its text and nothing
// more, where a list widget item carries a role table of variants.

#include <QAbstractListModel>
#include <QStringList>

namespace lookup {

class TextListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Adds one row at the end, announced to the views as one inserted row.
    void append(const QString &text);
    void clear();
    // The text of a row; empty outside the list.
    QString text(int row) const;

private:
    QStringList rows_;
};

} // namespace lookup
