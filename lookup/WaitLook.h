#pragma once
// How the search window looks while the details are read: the grid hidden,
// so that its wait caption shows, and the result list drawn disabled. Most
// readings end within a few milliseconds, where that look would only be a
// flicker, so it comes only once a reading has lasted a moment. Nothing of
// it reaches the keyboard or a screen reader: the list keeps its focus and
// stays enabled (the reading holds input itself), it only looks disabled.

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QTimer>

#include <chrono>

class QWidget;

namespace lookup {

class WaitLook : public QObject {
public:
    // What a user takes as instant.
    static constexpr std::chrono::milliseconds Delay{100};

    // list: drawn disabled; details: hidden, showing caption beneath it.
    WaitLook(QWidget *list, QWidget *details, QWidget *caption);

    // The look comes if end() is not called within Delay (while events run).
    void arm();
    // Back to the usual look; the caller shows the details again itself.
    void end();

private:
    void show();

    QPointer<QWidget> list_;
    QPointer<QWidget> details_;
    QPointer<QWidget> caption_;
    QTimer timer_;
    bool shown_ = false;
    QPalette listPalette_;
    bool listHadOwnPalette_ = false;
};

} // namespace lookup
