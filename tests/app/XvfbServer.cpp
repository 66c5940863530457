#include "XvfbServer.h"

#include <QStandardPaths>

namespace apptest {

XvfbServer::~XvfbServer()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(5000)) {
            server_.kill();
            server_.waitForFinished(5000);
        }
    }
}

bool XvfbServer::start(QString *why)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty()) {
        *why = QStringLiteral("Xvfb is not installed (scripts/setup installs the xvfb package)");
        return false;
    }
    // -displayfd: the server picks a free display number and writes it to
    // standard output once it accepts connections.
    server_.start(program, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                            QStringLiteral("0"), QStringLiteral("800x600x24"), QStringLiteral("-nolisten"),
                            QStringLiteral("tcp")});
    if (!server_.waitForStarted(10000)) {
        *why = QStringLiteral("Xvfb did not start: ") + server_.errorString();
        return false;
    }
    QByteArray number;
    while (!number.contains('\n') && server_.waitForReadyRead(20000))
        number += server_.readAllStandardOutput();
    number = number.trimmed();
    bool numeric = false;
    number.toInt(&numeric);
    if (!numeric) {
        *why = QStringLiteral("Xvfb gave no display number: ") + QString::fromLocal8Bit(server_.readAllStandardError());
        return false;
    }
    display_ = ':' + number;
    return true;
}

} // namespace apptest
