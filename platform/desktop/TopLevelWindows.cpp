#include "TopLevelWindows.h"

#include "X11Windows.h"

#include <QGuiApplication>
#include <QWidget>

namespace platform::desktop {

namespace {

// The display the program's own windows use, opened on first need.
X11Windows *programDisplay()
{
    static const std::unique_ptr<X11Windows> display = []() -> std::unique_ptr<X11Windows> {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return nullptr;
        return X11Windows::connect(qgetenv("DISPLAY"));
    }();
    return display.get();
}

template <class Action> bool onWindow(WindowHandle window, Action action)
{
    X11Windows *display = programDisplay();
    if (!display || window <= 0)
        return false;
    action(*display, X11WindowId(window));
    display->sync();
    return true;
}

} // namespace

WindowHandle FindWindowA(const char *className, const QString &windowName)
{
    X11Windows *display = programDisplay();
    if (className || !display)
        return 0;
    return WindowHandle(display->findByTitle(windowName));
}

bool ShowWindow(WindowHandle window, int showCommand)
{
    if (showCommand != SW_SHOWNORMAL)
        return false;
    return onWindow(window, [](X11Windows &display, X11WindowId id) { display.restore(id); });
}

bool SetForegroundWindow(WindowHandle window)
{
    return onWindow(window, [](X11Windows &display, X11WindowId id) { display.activate(id); });
}

bool BringWindowToTop(WindowHandle window)
{
    return onWindow(window, [](X11Windows &display, X11WindowId id) { display.raise(id); });
}

void bringWindowForward(QWidget &window, const QString &token)
{
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    if (X11Windows *display = programDisplay()) {
        const auto id = X11WindowId(window.winId());
        display->restore(id);
        display->activate(id);
        display->raise(id);
        display->sync();
        return;
    }
    // Qt's Wayland plugin hands the compositor the token it finds here when
    // the window asks for the focus, and takes it out again.
    if (!token.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", token.toLatin1());
    window.raise();
    window.activateWindow();
}

void endLaunchFeedback(const QString &startupId)
{
    X11Windows *display = programDisplay();
    if (!display || startupId.isEmpty())
        return;
    display->endStartup(startupId.toUtf8());
    display->sync();
}

} // namespace platform::desktop
