#include "BackdropMdiArea.h"

#include <QAccessibleWidget>
#include <QMdiSubWindow>

namespace app {

namespace {

// Qt presents the area as a layered pane, which a screen reader names each
// time the keyboard comes into a child window from outside ("Windows ...
// About"), and calls "layered pane" when it has no name. The area only lays
// the children out: as a filler, which readers pass over, the child window's
// own name is what is heard. Its children are the child windows, as Qt's.
class ChildWindowsAccessible : public QAccessibleWidget {
public:
    explicit ChildWindowsAccessible(QMdiArea *area) : QAccessibleWidget(area, QAccessible::Client) {}

    int childCount() const override { return int(area()->subWindowList().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QMdiSubWindow *> children = area()->subWindowList();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(area()->subWindowList().indexOf(qobject_cast<QMdiSubWindow *>(child->object()))) : -1;
    }

private:
    QMdiArea *area() const { return static_cast<QMdiArea *>(widget()); }
};

QAccessibleInterface *childWindowsFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(BackdropMdiArea::staticMetaObject.className()))
        if (auto *area = qobject_cast<BackdropMdiArea *>(object))
            return new ChildWindowsAccessible(area);
    return nullptr;
}

} // namespace

BackdropMdiArea::BackdropMdiArea(QWidget *parent) : QMdiArea(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(childWindowsFactory);
        return true;
    }();
    Q_UNUSED(installed);
    // On a screen smaller than a child's design size the child keeps that
    // size and the area scrolls to its far parts, instead of cutting them off.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void BackdropMdiArea::setBackdrop(platform::Backdrop backdrop)
{
    backdrop_ = std::move(backdrop);
    viewport()->update();
}

void BackdropMdiArea::paintEvent(QPaintEvent *event)
{
    if (!backdrop_.paintOn(*viewport()))
        QMdiArea::paintEvent(event);
}

} // namespace app
