#include "lookup/InputHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace lookup {

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

InputHold::InputHold(QWidget *area) : area_(area)
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
    // Posted, not sent: the reading that held them finishes first, and each
    // reaches its control as if it had just been typed or clicked.
    for (Held &h : held_) {
        if (h.target)
            QCoreApplication::postEvent(h.target, h.event.release());
    }
}

bool InputHold::eventFilter(QObject *watched, QEvent *event)
{
    if (!isUserInput(event->type()))
        return false;
    const auto *target = qobject_cast<QWidget *>(watched);
    if (!area_ || !target || (target != area_ && !area_->isAncestorOf(target)))
        return false;
    held_.push_back(Held{watched, std::unique_ptr<QEvent>(event->clone())});
    event->accept();
    return true;
}

} // namespace lookup
