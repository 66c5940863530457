#include "InstanceChannel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::desktop {

namespace {

// "vorimel-activate" and the token on one line: nothing else is ever asked.
const QByteArray Verb = QByteArrayLiteral("vorimel-activate");
constexpr qsizetype MaxTokenLength = 1024;
constexpr qsizetype MaxRequestLength = MaxTokenLength + 64;
// A peer that has not said its line by then is dropped, so that a stuck
// second start cannot keep a descriptor here for ever.
constexpr int PeerPatienceMs = 3000;
constexpr int SendPatienceMs = 2000;

bool socketAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray native = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (native.isEmpty() || std::size_t(native.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    return true;
}

bool peerIsThisUser(int descriptor)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0
           && credentials.uid == ::getuid();
}

bool writeAll(int descriptor, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::send(descriptor, bytes.constData() + written, std::size_t(bytes.size() - written),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            written += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd ready{descriptor, POLLOUT, 0};
            if (::poll(&ready, 1, SendPatienceMs) > 0)
                continue;
        }
        return false;
    }
    return true;
}

} // namespace

struct InstanceChannel::Peer {
    int descriptor = -1;
    QByteArray received;
    std::unique_ptr<QSocketNotifier> notifier;
    std::unique_ptr<QTimer> patience;

    ~Peer()
    {
        notifier.reset();
        if (descriptor >= 0)
            ::close(descriptor);
    }
};

InstanceChannel::InstanceChannel(QObject *parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel()
{
    peers_.clear();
    retired_.clear();
    listenerNotifier_.reset();
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(QFile::encodeName(path_).constData());
    }
}

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
    return listener_ >= 0;
}

bool InstanceChannel::listen(const QString &path, Handler handler)
{
    sockaddr_un address;
    if (isListening() || !socketAddress(path, address))
        return false;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return false;
    // The lock is ours, so a socket left under this name is a crashed run's.
    // unlink only removes a name: a link planted here does not reach its target.
    ::unlink(address.sun_path);
    if (::bind(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::chmod(address.sun_path, 0600) != 0 || ::listen(descriptor, 8) != 0) {
        ::close(descriptor);
        return false;
    }
    listener_ = descriptor;
    path_ = path;
    handler_ = std::move(handler);
    listenerNotifier_ = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    connect(listenerNotifier_.get(), &QSocketNotifier::activated, this, [this] { acceptPending(); });
    return true;
}

void InstanceChannel::acceptPending()
{
    for (;;) {
        const int descriptor = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (descriptor < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (!peerIsThisUser(descriptor)) {
            ::close(descriptor);
            continue;
        }
        auto peer = std::make_unique<Peer>();
        peer->descriptor = descriptor;
        peer->notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        connect(peer->notifier.get(), &QSocketNotifier::activated, this, [this, descriptor] { readFrom(descriptor); });
        peer->patience = std::make_unique<QTimer>();
        peer->patience->setSingleShot(true);
        connect(peer->patience.get(), &QTimer::timeout, this, [this, descriptor] { drop(descriptor); });
        peer->patience->start(PeerPatienceMs);
        peers_.push_back(std::move(peer));
    }
}

void InstanceChannel::readFrom(int descriptor)
{
    const auto found = std::find_if(peers_.begin(), peers_.end(),
                                    [descriptor](const auto &peer) { return peer->descriptor == descriptor; });
    if (found == peers_.end())
        return;
    Peer &peer = **found;
    char buffer[512];
    bool ended = false;
    for (;;) {
        const ssize_t n = ::recv(descriptor, buffer, sizeof buffer, 0);
        if (n > 0) {
            peer.received.append(buffer, n);
            if (peer.received.size() > MaxRequestLength) {
                drop(descriptor);
                return;
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        ended = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    const qsizetype lineEnd = peer.received.indexOf('\n');
    if (lineEnd < 0 && !ended)
        return;
    const QByteArray line = peer.received.left(lineEnd < 0 ? peer.received.size() : lineEnd);
    drop(descriptor);
    if (line != Verb && !line.startsWith(Verb + ' '))
        return;
    Request request;
    request.activationToken = sanitisedToken(QString::fromLatin1(line.mid(Verb.size() + 1)));
    if (handler_)
        handler_(request);
}

void InstanceChannel::drop(int descriptor)
{
    // Deferred: the peer's notifier or timer may be the one calling.
    const auto found = std::find_if(peers_.begin(), peers_.end(),
                                    [descriptor](const auto &peer) { return peer->descriptor == descriptor; });
    if (found == peers_.end())
        return;
    (*found)->notifier->setEnabled(false);
    (*found)->patience->stop();
    retired_.push_back(std::move(*found));
    peers_.erase(found);
    QTimer::singleShot(0, this, [this] { retired_.clear(); });
}

bool InstanceChannel::send(const QString &path, const Request &request)
{
    sockaddr_un address;
    if (!socketAddress(path, address))
        return false;
    // Another user's socket under our name is not our instance, whatever it says.
    struct stat info;
    if (::lstat(address.sun_path, &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != ::getuid())
        return false;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return false;
    bool sent = false;
    if (::connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0
        && peerIsThisUser(descriptor)) {
        const QString token = sanitisedToken(request.activationToken);
        QByteArray line = Verb;
        if (!token.isEmpty())
            line += ' ' + token.toLatin1();
        sent = writeAll(descriptor, line + '\n');
    }
    ::close(descriptor);
    return sent;
}

} // namespace platform::desktop
