#pragma once
// Finding another program's top-level window by its exact title on an X display
// and bringing it forward: what a second instance does for the one already
// running.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>

namespace platform::desktop {

using X11WindowId = std::uint32_t;

class X11Windows {
public:
    // An empty name means the DISPLAY of the environment. Null when the display
    // cannot be reached.
    static std::unique_ptr<X11Windows> connect(const QByteArray &displayName);
    ~X11Windows();
    X11Windows(const X11Windows &) = delete;
    X11Windows &operator=(const X11Windows &) = delete;

    // The windows the window manager lists as managed (_NET_CLIENT_LIST), or the
    // root window's children when no manager publishes that list.
    QVector<X11WindowId> topLevelWindows() const;
    // _NET_WM_NAME when the window has it, WM_NAME otherwise; empty without either.
    QString title(X11WindowId window) const;
    // The first top-level window whose title equals `title` exactly and that
    // is shown or minimised (not a withdrawn helper window); 0 for none.
    X11WindowId findByTitle(const QString &title) const;

    // Shows the window in its normal state: mapped again if it was minimised,
    // asked out of the maximised and hidden states.
    void restore(X11WindowId window);
    // Asks the window manager to give the window the focus, with the server's
    // current time so that focus-stealing prevention lets it through.
    void activate(X11WindowId window);
    // Puts the window on top: asks the window manager to restack its frame,
    // and restacks the window itself where there is no manager.
    void raise(X11WindowId window);
    // Tells the launcher that the start it announced under startupId
    // (DESKTOP_STARTUP_ID) is over, so that its busy cursor ends: a second
    // start shows no window of its own, which would otherwise end it.
    void endStartup(const QByteArray &startupId);
    // Sends what the calls above queued and waits until the server has taken it.
    void sync();

private:
    struct Impl;
    explicit X11Windows(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

} // namespace platform::desktop
