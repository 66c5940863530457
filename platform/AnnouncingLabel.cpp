#include "platform/AnnouncingLabel.h"

#include <QAccessibleWidget>

namespace platform {

namespace {

class AnnouncingAccessible : public QAccessibleWidget {
public:
    explicit AnnouncingAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return label()->text();
        return QAccessibleWidget::text(t);
    }

private:
    const QLabel *label() const { return static_cast<const QLabel *>(widget()); }
};

QAccessibleInterface *announcingFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(AnnouncingLabel::staticMetaObject.className()))
        if (auto *label = qobject_cast<AnnouncingLabel *>(object))
            return new AnnouncingAccessible(label);
    return nullptr;
}

} // namespace

AnnouncingLabel::AnnouncingLabel(QWidget *parent) : QLabel(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(announcingFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void AnnouncingLabel::announce(const QString &text)
{
    setText(text);
    // A notification is spoken when it appears: the first news shows a label
    // kept hidden while it had nothing to say, later news has it appear anew
    // to the reader alone.
    if (isHidden()) {
        show();
        return;
    }
    QAccessibleEvent appears(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&appears);
}

} // namespace platform
