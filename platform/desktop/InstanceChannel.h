#pragma once
// How a second start reaches the instance that runs: a local socket beside the
// instance lock. Where no program may look up another's windows (Wayland), the
// running instance can only bring itself forward, and only with the
// activation token the launcher gave the second start, which travels here.
//
// Only this user's instances talk: the listener refuses peers of another user,
// and a second start refuses a socket that another user owns or serves.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace platform::desktop {

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    // The request a second start sends; the token may be empty.
    struct Request {
        QString activationToken;
    };
    using Handler = std::function<void(const Request &)>;

    explicit InstanceChannel(QObject *parent = nullptr);
    ~InstanceChannel() override;

    // Listens on path for second starts; the caller holds the instance lock,
    // so whatever socket is left there is stale and taken over. Returns false
    // (and listens nowhere) when path is empty, too long for a socket, or
    // cannot be bound.
    bool listen(const QString &path, Handler handler);
    bool isListening() const;

    // Asks the instance listening on path to come forward, handing it the
    // token. True once the request has been written to that instance.
    static bool send(const QString &path, const Request &request);

    // vorimel.socket beside the lock file; empty when there is no lock.
    static QString pathBeside(const QString &lockPath);

    // An activation token as a launcher gives it: printable ASCII without
    // spaces, within a size limit. Anything else is dropped (empty).
    static QString sanitisedToken(const QString &token);

private:
    void acceptPending();
    // ended: the peer has closed its end, so what it sent is all there is.
    void readFrom(QLocalSocket *peer, bool ended);

    std::unique_ptr<QLocalServer> server_;
    Handler handler_;
};

} // namespace platform::desktop
