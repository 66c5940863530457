#pragma once
// The rows of a one-column text list box, one text per row. A search appends
// tens of thousands of rows one at a time; a row here is its text and nothing
// more, where a list widget item carries a role table of variants.
//
// Rows can also be kept back: stored at once (the list box holds them and
// counts them) but announced to the views later, all in one insertion. A
// search fills a hidden list this way, so that a view nobody sees does not
// take part in every row's insertion.

#include <QAbstractListModel>
#include <QStringList>

namespace lookup {

class TextListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Rows the views know of.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Adds one row at the end, announced to the views as one inserted row
    // (after any rows kept back).
    void append(const QString &text);
    // Adds one row at the end without telling the views yet.
    void appendKeptBack(const QString &text);
    // Tells the views of every row kept back, as one insertion.
    void announceKeptBack();
    void clear();

    // Every row held, announced or not.
    int storedCount() const { return int(rows_.size()); }
    // The text of a row held; empty outside the list.
    QString text(int row) const;

private:
    bool full() const;

    QStringList rows_;
    int announced_ = 0;
};

} // namespace lookup
