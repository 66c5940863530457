#include "codetables/FilteredChoiceList.h"

#include "lookup/ListKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

#include <utility>

namespace codetables {

namespace {

bool movesInList(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

} // namespace

FilteredChoiceList::FilteredChoiceList(const QString &caption, QWidget *parent) : QWidget(parent)
{
    caption_ = new QLabel(this);
    filter_ = new QLineEdit(this);
    filter_->setClearButtonEnabled(true);
    filter_->setPlaceholderText(QStringLiteral("Type to narrow"));
    model_ = new ChoiceListModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    list_ = new QListView(this);
    list_->setModel(proxy_);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setUniformItemSizes(true);
    caption_->setBuddy(filter_);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption_);
    layout->addWidget(filter_);
    layout->addWidget(list_, 1);
    setCaption(caption);

    filter_->installEventFilter(this);
    list_->installEventFilter(this);
    connect(filter_, &QLineEdit::textChanged, this, &FilteredChoiceList::narrow);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, &FilteredChoiceList::takeCurrent);
}

void FilteredChoiceList::setCaption(const QString &caption)
{
    caption_->setText(caption);
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    filter_->setAccessibleName(plain + QStringLiteral(", narrow the list"));
    list_->setAccessibleName(plain);
}

void FilteredChoiceList::setChoices(QList<Choice> choices)
{
    clearFilter();
    model_->setChoices(std::move(choices));
    const QChar before = std::exchange(chosen_, QChar());
    if (model_->rowCount() == 1)
        list_->setCurrentIndex(proxy_->index(0, 0));
    if (chosen_.isNull() && !before.isNull())
        emit chosen(QChar());
}

bool FilteredChoiceList::choose(QChar key)
{
    const int row = model_->rowOf(key);
    if (row < 0)
        return false;
    clearFilter();
    list_->setCurrentIndex(proxy_->mapFromSource(model_->index(row, 0)));
    list_->scrollTo(list_->currentIndex());
    return true;
}

void FilteredChoiceList::clearFilter()
{
    // The text box's own signals stay on: its clear button follows them.
    const bool wasClearing = std::exchange(clearing_, true);
    filter_->clear();
    proxy_->setFilterFixedString(QString());
    clearing_ = wasClearing;
}

void FilteredChoiceList::narrow()
{
    if (clearing_)
        return;
    proxy_->setFilterFixedString(filter_->text());
    if (proxy_->rowCount() > 0 && !list_->currentIndex().isValid())
        list_->setCurrentIndex(proxy_->index(0, 0));
    else if (proxy_->rowCount() == 0 && !chosen_.isNull()) {
        chosen_ = QChar();
        emit chosen(chosen_);
    }
}

void FilteredChoiceList::takeCurrent()
{
    const QModelIndex current = list_->currentIndex();
    list_->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    const QString key = current.data(ChoiceListModel::KeyRole).toString();
    const QChar now = key.isEmpty() ? QChar() : key[0];
    if (now == chosen_)
        return;
    chosen_ = now;
    emit chosen(chosen_);
}

bool FilteredChoiceList::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (lookup::isEnterKey(key->key()) && key->modifiers() == Qt::NoModifier) {
        emit accepted();
        return true;
    }
    if (watched == filter_ && movesInList(key->key())) {
        QKeyEvent forwarded(key->type(), key->key(), key->modifiers());
        QApplication::sendEvent(list_, &forwarded);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace codetables
