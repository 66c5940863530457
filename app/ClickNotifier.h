#pragma once
// Turns a left-button press and release over a widget into one click, for
// widgets (labels, pictures) that have no click of their own.

#include <QObject>
#include <functional>

class QWidget;

namespace app {

class ClickNotifier : public QObject {
public:
    // Watches target for as long as it lives.
    ClickNotifier(QWidget *target, std::function<void()> onClick);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *target_;
    std::function<void()> onClick_;
    bool pressed_ = false;
};

} // namespace app
