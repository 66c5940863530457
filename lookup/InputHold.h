#pragma once
// While the details are read, window events run between rows, and the result
// list keeps the keyboard focus: a key or click meant for the window would
// start its work halfway through the reading (and find the recordset busy).
// A hold keeps the keys, clicks and wheel turns meant for controls inside one
// widget for as long as it lives, and posts them to the same controls, in
// the same order, when it ends: a held arrow key or the next letters typed
// are not lost, nor sent anywhere else.

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class QEvent;
class QWidget;

namespace lookup {

class InputHold : public QObject {
public:
    explicit InputHold(QWidget *area);
    ~InputHold() override;
    InputHold(const InputHold &) = delete;
    InputHold &operator=(const InputHold &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Held {
        QPointer<QObject> target;
        std::unique_ptr<QEvent> event;
    };
    QPointer<QWidget> area_;
    std::vector<Held> held_;
};

} // namespace lookup
