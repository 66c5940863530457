#include "WindowingSystem.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>

#include <xcb/xcb.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::desktop {

namespace {

// The compositor's socket as libwayland finds it.
QString waylandSocketPath()
{
    const QString name = qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? QStringLiteral("wayland-0")
                                                                        : qEnvironmentVariable("WAYLAND_DISPLAY");
    if (QDir::isAbsolutePath(name))
        return name;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QString() : QDir(runtime).filePath(name);
}

bool waylandAnswers()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;
    const QByteArray path = QFile::encodeName(waylandSocketPath());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return false;
    const bool connected = ::connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(descriptor);
    return connected;
}

bool x11Answers()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool connected = connection && !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    return connected;
}

bool waylandPluginInstalled()
{
    const QString platforms = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/");
    return QFile::exists(platforms + QStringLiteral("libqwayland-generic.so"));
}

bool platformNamed(int argc, char **argv)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

} // namespace

WindowingChoice chooseWindowingSystem(int argc, char **argv)
{
    WindowingChoice choice;
    if (platformNamed(argc, argv))
        return choice;
    const bool wayland = waylandAnswers() && waylandPluginInstalled();
    // On a Wayland session the X server is not asked: where XWayland starts
    // on demand, asking would start it for nothing.
    if (wayland && qgetenv("XDG_SESSION_TYPE") == "wayland") {
        choice.platform = qEnvironmentVariableIsEmpty("DISPLAY") ? QByteArrayLiteral("wayland")
                                                                 : QByteArrayLiteral("wayland;xcb");
        return choice;
    }
    if (x11Answers())
        return choice;
    if (wayland) {
        choice.platform = QByteArrayLiteral("wayland");
        return choice;
    }
    if (waylandAnswers()) {
        choice.problem = QStringLiteral("Vorimel cannot show its window: the Wayland compositor at %1 answers, but "
                                        "Qt's Wayland support is not installed (package qt6-wayland), and no X "
                                        "server answers at DISPLAY.")
                             .arg(waylandSocketPath());
        return choice;
    }
    const QString display = qEnvironmentVariable("DISPLAY");
    choice.problem = QStringLiteral("Vorimel cannot show its window: no Wayland compositor answers (WAYLAND_DISPLAY, "
                                    "%1) and no X server answers (DISPLAY, %2). Start it from a desktop session.")
                         .arg(waylandSocketPath().isEmpty() ? QStringLiteral("no runtime folder") : waylandSocketPath(),
                              display.isEmpty() ? QStringLiteral("not set") : display);
    return choice;
}

} // namespace platform::desktop
