#include "platform/AccessibleHiding.h"

#include <QAccessibleWidget>
#include <QFocusFrame>
#include <QFrame>
#include <QMenu>
#include <QWidget>

namespace platform {

namespace {

const char *const HiddenProperty = "vorimelHiddenFromAccessibility";

// A plain container of the program's own (a window, a panel): what Qt would
// give it is a bare widget interface, which the one below does as well, so it
// is safe to answer for every such class, whenever it is first asked; lists,
// grids and buttons keep their own interfaces.
bool isPlainContainer(const QMetaObject *type)
{
    // Qt's own classes (QLabel is a QFrame too) keep their own interfaces.
    const QLatin1StringView name(type->className());
    if (name.size() > 1 && name.front() == QLatin1Char('Q') && QChar(name.at(1)).isUpper())
        return false;
    const QMetaObject *base = type->superClass();
    const bool ownInterface = type->indexOfClassInfo(OwnAccessibleInterface) >= 0;
    return !ownInterface && (base == &QWidget::staticMetaObject || base == &QFrame::staticMetaObject);
}

// A container's interface as Qt's own, less the children marked hidden.
class FilteringAccessible : public QAccessibleWidget {
public:
    explicit FilteringAccessible(QWidget *w) : QAccessibleWidget(w) {}

    int childCount() const override { return int(shownChildren().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = shownChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child || !child->object())
            return -1;
        return int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    // The children Qt itself would list, in the same order.
    QList<QWidget *> shownChildren() const
    {
        QList<QWidget *> shown;
        for (QObject *child : widget()->children()) {
            auto *w = qobject_cast<QWidget *>(child);
            if (!w || w->isWindow() || qobject_cast<QFocusFrame *>(w) || qobject_cast<QMenu *>(w)
                || isHiddenFromAssistiveTechnology(w))
                continue;
            shown.append(w);
        }
        return shown;
    }
};

QAccessibleInterface *filteringFactory(const QString &className, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    // Asked for the most derived class first: answering only then leaves Qt's
    // own classes to Qt.
    if (!w || className != QLatin1String(object->metaObject()->className()) || !isPlainContainer(object->metaObject()))
        return nullptr;
    return new FilteringAccessible(w);
}

} // namespace

void hideFromAssistiveTechnology(QWidget *w)
{
    static const bool installed = [] {
        QAccessible::installFactory(filteringFactory);
        return true;
    }();
    Q_UNUSED(installed);
    w->setProperty(HiddenProperty, true);
}

bool isHiddenFromAssistiveTechnology(const QWidget *w)
{
    return w->property(HiddenProperty).toBool();
}

} // namespace platform
