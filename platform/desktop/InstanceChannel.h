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
#include <vector>

class QSocketNotifier;

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
    void readFrom(int descriptor);
    void drop(int descriptor);

    struct Peer;
    int listener_ = -1;
    QString path_;
    Handler handler_;
    std::unique_ptr<QSocketNotifier> listenerNotifier_;
    std::vector<std::unique_ptr<Peer>> peers_;
    // Peers done with, deleted once the notifier or timer that ended them has returned.
    std::vector<std::unique_ptr<Peer>> retired_;
};

} // namespace platform::desktop
