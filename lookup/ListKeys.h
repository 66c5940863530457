#pragma once
// Keyboard rules the window's lists share. Qt makes a list's first row current
// without selecting it, so the first Down arrow would select the second row and
// the first row's details would never show: here the first arrow key in a list
// without a selection selects the first row. Enter on the selected row chooses
// it, as a double-click does.

#include <QObject>

class QAbstractItemView;

namespace lookup {

class ListKeys : public QObject {
    Q_OBJECT
public:
    // Watches view's keys for as long as the view lives.
    explicit ListKeys(QAbstractItemView *view);

signals:
    // Enter was pressed on this selected row.
    void rowChosen(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *view_;
};

// Return or the keypad's Enter: the windows take both alike.
inline bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace lookup
