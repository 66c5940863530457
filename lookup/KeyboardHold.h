#pragma once
// While the details are read the result list is disabled, and Qt hands its
// focus to the next control: keys typed meanwhile (the rest of a held arrow,
// the next letters) would land in the search box or a button. A hold drops
// the keys meant for controls inside one widget for as long as it lives; the
// reader gives the focus back when it is done.

#include <QObject>
#include <QPointer>

class QWidget;

namespace lookup {

class KeyboardHold : public QObject {
public:
    explicit KeyboardHold(QWidget *area);
    ~KeyboardHold() override;
    KeyboardHold(const KeyboardHold &) = delete;
    KeyboardHold &operator=(const KeyboardHold &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> area_;
};

} // namespace lookup
