#include "platform/LeaveKeys.h"

#include <QKeyEvent>
#include <QWidget>

namespace platform {

namespace {

bool isLeaveKey(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    return (key.key() == Qt::Key_Escape && modifiers == Qt::NoModifier)
           || (key.key() == Qt::Key_F4 && modifiers == Qt::ControlModifier);
}

class LeaveKeys : public QObject {
public:
    LeaveKeys(QWidget *window, std::function<void()> leave) : QObject(window), leave_(std::move(leave)) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        const bool shortcut = event->type() == QEvent::ShortcutOverride;
        if ((!shortcut && event->type() != QEvent::KeyPress) || !isLeaveKey(*static_cast<QKeyEvent *>(event)))
            return false;
        // Accepted, the override makes the key arrive as a key press.
        event->accept();
        if (!shortcut)
            leave_();
        return true;
    }

private:
    std::function<void()> leave_;
};

} // namespace

void leaveOnEscapeOrCtrlF4(QWidget *window, std::function<void()> leave)
{
    window->installEventFilter(new LeaveKeys(window, std::move(leave)));
}

} // namespace platform
