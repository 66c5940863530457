#pragma once
// A one-column list box of texts (the result list and its hidden twin), with
// the few list-box operations the search window uses.
//
// It is filled row by row while hidden, with window events serviced after
// every row. A view reacts to each inserted row by arming timers for a layout
// and a fetch that a hidden view never performs; over tens of thousands of
// rows that is a sizeable part of a search. Hidden, this list only notes that
// its layout is out of date, and lays out all its rows once it is shown (or
// asked where a row is).

#include "lookup/TextListModel.h"

#include <QListView>

namespace lookup {

class ResultList : public QListView {
    Q_OBJECT
public:
    explicit ResultList(QWidget *parent = nullptr);

    int count() const { return model_->rowCount(); }
    // The text of a row; empty outside the list.
    QString text(int row) const { return model_->text(row); }
    void addItem(const QString &text) { model_->append(text); }
    void clear() { model_->clear(); }

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

private:
    TextListModel *model_;
};

} // namespace lookup
