#include "lookup/KeyboardHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace lookup {

KeyboardHold::KeyboardHold(QWidget *area) : area_(area)
{
    QCoreApplication::instance()->installEventFilter(this);
}

KeyboardHold::~KeyboardHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyboardHold::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        break;
    default:
        return false;
    }
    const auto *target = qobject_cast<QWidget *>(watched);
    if (!area_ || !target || (target != area_ && !area_->isAncestorOf(target)))
        return false;
    event->accept();
    return true;
}

} // namespace lookup
