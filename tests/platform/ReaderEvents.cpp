#include "ReaderEvents.h"

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

namespace {

ReaderEvents *recording = nullptr;

QPlatformAccessibility *platformAccessibility()
{
    QPlatformIntegration *integration = QGuiApplicationPrivate::platformIntegration();
    return integration ? integration->accessibility() : nullptr;
}

} // namespace

ReaderEvents::ReaderEvents()
{
    if (QPlatformAccessibility *accessibility = platformAccessibility())
        accessibility->setActive(true);
    recording = this;
    previous_ = QAccessible::installUpdateHandler(record);
}

ReaderEvents::~ReaderEvents()
{
    QAccessible::installUpdateHandler(previous_);
    recording = nullptr;
    if (QPlatformAccessibility *accessibility = platformAccessibility())
        accessibility->setActive(false);
}

void ReaderEvents::record(QAccessibleEvent *event)
{
    if (!recording)
        return;
    Event e{event->type(), event->object(), QString(), QAccessible::NoRole, QAccessible::State()};
    if (QAccessibleInterface *iface = event->accessibleInterface()) {
        e.name = iface->text(QAccessible::Name);
        e.role = iface->role();
    }
    if (event->type() == QAccessible::StateChanged)
        e.changed = static_cast<QAccessibleStateChangeEvent *>(event)->changedStates();
    recording->events_.append(e);
}

QStringList ReaderEvents::focused() const
{
    QStringList names;
    for (const Event &e : events_)
        if (e.type == QAccessible::Focus)
            names << e.name;
    return names;
}

int ReaderEvents::stateChangesOf(const QObject *object) const
{
    int count = 0;
    for (const Event &e : events_)
        if (e.type == QAccessible::StateChanged && e.object == object)
            ++count;
    return count;
}

QStringList ReaderEvents::notifications() const
{
    QStringList names;
    for (const Event &e : events_)
        if (e.type == QAccessible::ObjectShow && e.role == QAccessible::Notification)
            names << e.name;
    return names;
}
