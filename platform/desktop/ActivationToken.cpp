#include "ActivationToken.h"

#include <QtGlobal>

namespace platform::desktop {

namespace {

QString &capturedToken()
{
    static QString token;
    return token;
}

QString &capturedStartupId()
{
    static QString id;
    return id;
}

} // namespace

void captureLaunchActivationToken()
{
    // A launcher on Wayland may set both; the Wayland one is the one a
    // compositor honours there, and an X11 window manager reads neither variable.
    capturedStartupId() = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    if (token.isEmpty())
        token = capturedStartupId();
    capturedToken() = token;
}

QString launchActivationToken()
{
    return capturedToken();
}

QString launchStartupId()
{
    return capturedStartupId();
}

} // namespace platform::desktop
