#pragma once
// The token a launcher hands a program it starts, so that the compositor or
// window manager lets the program's window take the focus: XDG_ACTIVATION_TOKEN
// on Wayland, DESKTOP_STARTUP_ID on X11. Qt takes the X11 one out of the
// environment while it connects, so it is read before the application exists.

#include <QString>

namespace platform::desktop {

// Reads the launcher's token from the environment; call before the
// application object is made. Later calls read it again.
void captureLaunchActivationToken();
// What captureLaunchActivationToken found; empty without a launcher's token.
QString launchActivationToken();
// The X11 launcher's DESKTOP_STARTUP_ID alone (empty without one): the start
// it names is ended by whoever shows the window, or by a second start.
QString launchStartupId();

} // namespace platform::desktop
