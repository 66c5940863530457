#pragma once
// A one-column list box of texts (the result list and its hidden twin), with
// the few list-box operations the search window uses.
//
// It is filled row by row while hidden, with window events serviced after
// every row. A view reacts to each inserted row by arming timers for a layout
// and a fetch that a hidden view never performs; over tens of thousands of
// rows that is a sizeable part of a search. Hidden, this list only notes that
// its layout is out of date, and lays out all its rows once it is shown (or
// asked where a row is). While a hidden list is filled between
// beginFilling() and endFilling(), its rows are held as they come but its
// view hears of them once, at the end (or when it is shown or its selection
// is used before that): the signals of every row insertion cost more than the
// row itself.

#include "lookup/TextListModel.h"

#include <QListView>

namespace lookup {

class ResultList : public QListView {
    Q_OBJECT
public:
    explicit ResultList(QWidget *parent = nullptr);

    int count() const { return model_->storedCount(); }
    // The text of a row; empty outside the list.
    QString text(int row) const { return model_->text(row); }
    void addItem(const QString &text);
    void clear() { model_->clear(); }

    // Brackets the rows a reader adds; only a hidden list keeps them back.
    void beginFilling();
    void endFilling();

    // -1 when no row is current.
    int currentRow() const;
    // Makes the row current and the only one selected.
    void setCurrentRow(int row);
    bool hasSelection() const;

signals:
    // The selected rows changed, by mouse, keyboard or program.
    void itemSelectionChanged();

protected:
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    bool event(QEvent *event) override;

private:
    // Lets the view hear of every row held, and stops keeping rows back.
    void announceRows();

    TextListModel *model_;
    bool keepingRowsBack_ = false;
};

} // namespace lookup
