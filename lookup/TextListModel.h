#pragma once
// The rows of a one-column text list box, one text per row. A search appends
// tens of thousands of rows one at a time; a row here is its text and nothing
// more, where a list widget item carries a role table of variants.
//
// The texts lie end to end in one block of UTF-8: a row costs its characters
// and where it ends, not a string of its own, whose header and allocation
// weigh more than the few digits of an ID, and titles take one byte a letter
// instead of two. For the list of every procedure that is megabytes; a row
// becomes a string again only when it is shown or measured.
//
// Rows can also be kept back: stored at once (the list box holds them and
// counts them) but announced to the views later, all in one insertion. A
// search fills a hidden list this way, so that a view nobody sees does not
// take part in every row's insertion.

#include <QAbstractListModel>
#include <QByteArray>
#include <QString>
#include <vector>

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
    int storedCount() const { return int(ends_.size()); }
    // The text of a row held; empty outside the list. The view is valid
    // until the rows change.
    QString text(int row) const { return QString::fromUtf8(utf8(row)); }
    QByteArrayView utf8(int row) const;

private:
    bool full() const;
    void store(const QString &text);

    QByteArray characters_;        // every row's text in UTF-8, back to back
    std::vector<qsizetype> ends_; // where each row's text ends in characters_
    int announced_ = 0;
};

} // namespace lookup
