#include "ClickNotifier.h"

#include <QMouseEvent>
#include <QWidget>

namespace app {

ClickNotifier::ClickNotifier(QWidget *target, std::function<void()> onClick)
    : QObject(target), target_(target), onClick_(std::move(onClick))
{
    target->installEventFilter(this);
}

bool ClickNotifier::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != target_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        pressed_ = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
        break;
    case QEvent::MouseButtonRelease: {
        const auto *release = static_cast<QMouseEvent *>(event);
        const bool click = pressed_ && release->button() == Qt::LeftButton
                           && target_->rect().contains(release->position().toPoint());
        pressed_ = false;
        if (click)
            onClick_();
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace app
