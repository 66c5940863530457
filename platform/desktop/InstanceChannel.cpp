#include "InstanceChannel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <algorithm>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::desktop {

namespace {

// "vorimel-activate" and the token on one line: nothing else is ever asked.
const QByteArray Verb = QByteArrayLiteral("vorimel-activate");
constexpr qsizetype MaxTokenLength = 1024;
constexpr qsizetype MaxRequestLength = MaxTokenLength + 64;
// A peer that has not said its line by then is dropped, so that a stuck
// second start cannot keep a connection here for ever.
constexpr int PeerPatienceMs = 3000;
constexpr int SendPatienceMs = 2000;

bool peerIsThisUser(qintptr descriptor)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0
           && credentials.uid == ::getuid();
}

// Done with a peer: nothing it does afterwards reaches the channel.
void drop(QLocalSocket *peer)
{
    peer->disconnect();
    peer->abort();
    peer->deleteLater();
}

} // namespace

InstanceChannel::InstanceChannel(QObject *parent) : QObject(parent) {}

// Closing the server removes the socket's name.
InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::pathBeside(const QString &lockPath)
{
    if (lockPath.isEmpty())
        return QString();
    return QFileInfo(lockPath).dir().filePath(QStringLiteral("vorimel.socket"));
}

QString InstanceChannel::sanitisedToken(const QString &token)
{
    const bool printable =
        std::all_of(token.begin(), token.end(), [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7F; });
    return printable && token.size() <= MaxTokenLength ? token : QString();
}

bool InstanceChannel::isListening() const
{
    return server_ && server_->isListening();
}

bool InstanceChannel::listen(const QString &path, Handler handler)
{
    if (isListening() || path.isEmpty())
        return false;
    auto server = std::make_unique<QLocalServer>();
    // Bound under a private name and moved into place with only the user's
    // permissions, so no other user ever finds it open.
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket left under this name is a crashed run's.
    // Removing only removes a name: a link planted here does not reach its target.
    QLocalServer::removeServer(path);
    if (!server->listen(path))
        return false;
    connect(server.get(), &QLocalServer::newConnection, this, &InstanceChannel::acceptPending);
    server_ = std::move(server);
    handler_ = std::move(handler);
    return true;
}

void InstanceChannel::acceptPending()
{
    while (QLocalSocket *peer = server_->nextPendingConnection()) {
        if (!peerIsThisUser(peer->socketDescriptor())) {
            drop(peer);
            continue;
        }
        // Holds what a hostile peer may send to one request's length.
        peer->setReadBufferSize(MaxRequestLength + 1);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { readFrom(peer, false); });
        connect(peer, &QLocalSocket::disconnected, this, [this, peer] { readFrom(peer, true); });
        QTimer::singleShot(PeerPatienceMs, peer, [peer] { drop(peer); });
        if (peer->bytesAvailable() > 0 || peer->state() != QLocalSocket::ConnectedState)
            readFrom(peer, peer->state() != QLocalSocket::ConnectedState);
    }
}

void InstanceChannel::readFrom(QLocalSocket *peer, bool ended)
{
    const bool overlong = peer->bytesAvailable() > MaxRequestLength;
    if (!peer->canReadLine() && !ended && !overlong)
        return;
    const QByteArray line = peer->canReadLine() ? peer->readLine().chopped(1)
                            : overlong          ? QByteArray()
                                                : peer->readAll();
    drop(peer);
    if (line != Verb && !line.startsWith(Verb + ' '))
        return;
    if (handler_)
        handler_({sanitisedToken(QString::fromLatin1(line.mid(Verb.size() + 1)))});
}

bool InstanceChannel::send(const QString &path, const Request &request)
{
    // Another user's socket under our name is not our instance, whatever it says.
    struct stat info;
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISSOCK(info.st_mode)
        || info.st_uid != ::getuid())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(SendPatienceMs) || !peerIsThisUser(socket.socketDescriptor()))
        return false;
    const QString token = sanitisedToken(request.activationToken);
    QByteArray line = Verb;
    if (!token.isEmpty())
        line += ' ' + token.toLatin1();
    socket.write(line + '\n');
    return socket.waitForBytesWritten(SendPatienceMs) && socket.bytesToWrite() == 0;
}

} // namespace platform::desktop
