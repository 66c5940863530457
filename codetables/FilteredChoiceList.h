#pragma once
// A captioned list of choices with a text box above it that narrows the list
// as the user types (any part of a label, letter case ignored). The keyboard
// stays in the text box: arrows and Page keys move through what is left,
// Enter accepts. Narrowing chooses the first row left when the chosen one
// disappears, so typing a few letters is a choice.

#include "codetables/ChoiceListModel.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QSortFilterProxyModel;

namespace codetables {

class FilteredChoiceList : public QWidget {
    Q_OBJECT
public:
    FilteredChoiceList(const QString &caption, QWidget *parent = nullptr);

    // The caption names both the text box and the list for screen readers.
    void setCaption(const QString &caption);
    // Replaces the choices and clears the filter; a lone choice is chosen at once.
    void setChoices(QList<Choice> choices);
    // Null when nothing is chosen.
    QChar chosenKey() const { return chosen_; }
    // Clears the filter and chooses key; false when the list lacks it.
    bool choose(QChar key);

    QLineEdit *filter() const { return filter_; }
    QListView *list() const { return list_; }
    ChoiceListModel *model() const { return model_; }
    QSortFilterProxyModel *proxy() const { return proxy_; }

signals:
    void chosen(QChar key);   // also when the choice is lost (null key)
    void accepted();          // Enter in the text box or the list

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clearFilter();
    void narrow();
    void takeCurrent();

    QLabel *caption_ = nullptr;
    QLineEdit *filter_ = nullptr;
    QListView *list_ = nullptr;
    ChoiceListModel *model_ = nullptr;
    QSortFilterProxyModel *proxy_ = nullptr;
    QChar chosen_;
    bool clearing_ = false;
};

} // namespace codetables
