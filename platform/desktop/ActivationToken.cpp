#include "ActivationToken.h"

#include <QtGlobal>

namespace platform::desktop {

namespace {

QString &capturedToken()
{
    static QString token;
    return token;
}

} // namespace

void captureLaunchActivationToken()
{
    // A launcher on Wayland may set both; the Wayland one is the one a
    // compositor honours there, and an X11 window manager reads neither variable.
    QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    if (token.isEmpty())
        token = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    capturedToken() = token;
}

QString launchActivationToken()
{
    return capturedToken();
}

} // namespace platform::desktop
