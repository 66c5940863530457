#pragma once
// A private X server for tests that need real X11 windows: Xvfb on a display
// number it picks itself, stopped with the object.

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace apptest {

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    // Starts the server; on failure returns false and says why.
    bool start(QString *why);
    // ":N", the DISPLAY value of the running server.
    QByteArray display() const { return display_; }

private:
    QProcess server_;
    QByteArray display_;
};

} // namespace apptest
