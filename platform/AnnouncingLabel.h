#pragma once
// A screen reader speaks a control when it takes the focus, and a label
// never does: the line saying how a search ended ("232 Item(s) Found") was
// shown and never heard. This label presents itself as a notification: a
// reader speaks it whenever it appears, and each time it is given news,
// wherever the focus is. One without text yet is best kept hidden, or the
// reader announces an empty notification.

#include <QLabel>

namespace platform {

class AnnouncingLabel : public QLabel {
    Q_OBJECT
public:
    explicit AnnouncingLabel(QWidget *parent = nullptr);

    // Shows text and has a listening screen reader speak it.
    void announce(const QString &text);
};

} // namespace platform
