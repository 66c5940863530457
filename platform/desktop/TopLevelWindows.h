#pragma once
// The window calls a second instance makes, under the names the program's
// start-up uses. They reach the X display the program's windows are on; on any
// other windowing platform no window is ever found and the others do nothing.
// There the running instance brings its own window forward when asked.

#include <QString>
#include <cstdint>

class QWidget;

namespace platform::desktop {

// A top-level window; 0 is "no window". X window ids fit in 29 bits, so a
// found window is always positive as a signed 32-bit value.
using WindowHandle = std::int32_t;

inline constexpr int SW_SHOWNORMAL = 1;

// The top-level window whose title is exactly windowName. Windows are not
// searched by class on this platform, so className must be null.
WindowHandle FindWindowA(const char *className, const QString &windowName);
// Only SW_SHOWNORMAL is known: shows the window in its normal state, restoring
// it from minimised or maximised. Returns whether the request was sent.
bool ShowWindow(WindowHandle window, int showCommand);
bool SetForegroundWindow(WindowHandle window);
bool BringWindowToTop(WindowHandle window);

// What the running instance does with its own window when a second start asks
// for it: out of the minimised state, the focus, on top. token is the second
// start's activation token, without which a Wayland compositor keeps the
// focus where it is; on X11 the window is activated as a pager would.
void bringWindowForward(QWidget &window, const QString &token);

// Ends the launcher's feedback (its busy cursor) for the X11 start startupId,
// which a second start, showing no window, would otherwise leave running.
void endLaunchFeedback(const QString &startupId);

} // namespace platform::desktop
