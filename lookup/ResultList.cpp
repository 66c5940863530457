#include "lookup/ResultList.h"

namespace lookup {

ResultList::ResultList(QWidget *parent) : QListView(parent), model_(new TextListModel(this))
{
    setModel(model_);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ResultList::itemSelectionChanged);
}

int ResultList::currentRow() const
{
    return currentIndex().row();
}

void ResultList::setCurrentRow(int row)
{
    const QModelIndex index = model_->index(row, 0);
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clear();
}

bool ResultList::hasSelection() const
{
    return selectionModel()->hasSelection();
}

void ResultList::rowsInserted(const QModelIndex &parent, int start, int end)
{
    if (isVisible()) {
        QListView::rowsInserted(parent, start, end);
        return;
    }
    // The layout starts over from the first row, so rows laid out before the
    // insertion are placed again too.
    scheduleDelayedItemsLayout();
}

} // namespace lookup
