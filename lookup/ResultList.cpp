#include "lookup/ResultList.h"


#include <QEvent>

namespace lookup {

ResultList::ResultList(QWidget *parent) : QListView(parent), model_(new TextListModel(this))
{
    setModel(model_);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ResultList::itemSelectionChanged);
}

void ResultList::addItem(const QString &text)
{
    if (keepingRowsBack_)
        model_->appendKeptBack(text);
    else
        model_->append(text);
}

void ResultList::beginFilling()
{
    keepingRowsBack_ = isHidden();
}

void ResultList::endFilling()
{
    announceRows();
}

void ResultList::announceRows()
{
    keepingRowsBack_ = false;
    model_->announceKeptBack();
}

bool ResultList::event(QEvent *event)
{
    // Before the view's own handling of the show, which lays out its rows.
    if (event->type() == QEvent::Show)
        announceRows();
    return QListView::event(event);
}

int ResultList::currentRow() const
{
    return currentIndex().row();
}

void ResultList::setCurrentRow(int row)
{
    announceRows();
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
