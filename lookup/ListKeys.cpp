#include "lookup/ListKeys.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace lookup {

namespace {

bool isArrow(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

} // namespace

ListKeys::ListKeys(QAbstractItemView *view) : QObject(view), view_(view)
{
    view->installEventFilter(this);
}

bool ListKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != view_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    QItemSelectionModel *selection = view_->selectionModel();
    if (!selection || !view_->model() || key->modifiers() & ~Qt::KeypadModifier)
        return false;
    if (isArrow(key->key()) && !selection->hasSelection()) {
        const QModelIndex first = view_->model()->index(0, 0, view_->rootIndex());
        if (first.isValid()) {
            // Qt may have made the first row current already; made current
            // anew, it is announced to a screen reader like any other row.
            if (view_->currentIndex() == first)
                selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            view_->setCurrentIndex(first);
            selection->select(first, QItemSelectionModel::ClearAndSelect);
        }
        return true;
    }
    if (isEnterKey(key->key())) {
        const QModelIndex current = view_->currentIndex();
        if (current.isValid() && selection->isSelected(current)) {
            emit rowChosen(current.row());
            return true;
        }
    }
    return false;
}

} // namespace lookup
