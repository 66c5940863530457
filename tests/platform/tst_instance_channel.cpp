// The socket through which a second start asks the running instance to come
// forward: what arrives, what is dropped, and whose sockets count.

#include "platform/desktop/InstanceChannel.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using platform::desktop::InstanceChannel;

namespace {

// A socket bound under path by a process that has since died: the name stays,
// nobody listens.
bool leaveDeadSocket(const QString &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = ::bind(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(descriptor);
    return bound && QFile::exists(path);
}

// Writes raw bytes to the listener, as a confused or hostile peer might.
void sendRaw(const QString &path, const QByteArray &bytes)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        (void)!::write(descriptor, bytes.constData(), std::size_t(bytes.size()));
    ::close(descriptor);
}

} // namespace

class InstanceChannelTest : public QObject {
    Q_OBJECT

private slots:
    void aRequestReachesTheListenerWithItsToken();
    void whatIsNotARequestOrNotATokenIsDropped();
    void aStaleSocketIsTakenOverAndTheNameLeavesWithTheListener();
    void anotherUsersSocketIsRefused();
};

void InstanceChannelTest::aRequestReachesTheListenerWithItsToken()
{
    QTemporaryDir dir;
    const QString path = InstanceChannel::pathBeside(dir.filePath(QStringLiteral("vorimel.lock")));
    QCOMPARE(path, dir.filePath(QStringLiteral("vorimel.socket")));
    QVector<QString> tokens;
    InstanceChannel channel;
    const auto keep = [&](const InstanceChannel::Request &request) { tokens.append(request.activationToken); };
    QVERIFY(channel.listen(path, keep));
    QCOMPARE(QFileInfo(path).permissions() & 0x0077, QFileDevice::Permissions());

    QVERIFY(InstanceChannel::send(path, {QStringLiteral("kwin-42_TIME1234:ab/c=")}));
    QVERIFY(InstanceChannel::send(path, {QString()}));
    QTRY_COMPARE(tokens.size(), 2);
    QCOMPARE(tokens[0], QStringLiteral("kwin-42_TIME1234:ab/c="));
    QCOMPARE(tokens[1], QString());

    // Nowhere to listen: no lock, or a name too long for a socket.
    QCOMPARE(InstanceChannel::pathBeside(QString()), QString());
    InstanceChannel elsewhere;
    QVERIFY(!elsewhere.listen(QString(), {}));
    QVERIFY(!elsewhere.listen(dir.filePath(QString(200, u'x')), {}));
    QVERIFY(!InstanceChannel::send(dir.filePath(QStringLiteral("nobody.socket")), {}));
}

void InstanceChannelTest::whatIsNotARequestOrNotATokenIsDropped()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vorimel.socket"));
    QVector<QString> tokens;
    InstanceChannel channel;
    const auto keep = [&](const InstanceChannel::Request &request) { tokens.append(request.activationToken); };
    QVERIFY(channel.listen(path, keep));

    // The token goes into the environment and to the compositor: a line
    // break or a control character would smuggle in more than a token.
    sendRaw(path, "vorimel-activate tok\x01en\n");
    sendRaw(path, "vorimel-activate " + QByteArray(1030, 'a') + '\n');
    sendRaw(path, "something else\n");
    sendRaw(path, QByteArray(100000, 'x'));
    QVERIFY(InstanceChannel::send(path, {QStringLiteral("two words")}));
    sendRaw(path, "vorimel-activate last");
    QTRY_COMPARE(tokens.size(), 4);
    QCOMPARE(tokens.count(QString()), 3);
    QVERIFY(tokens.contains(QStringLiteral("last")));
    QTest::qWait(100);
    QCOMPARE(tokens.size(), 4);
}

void InstanceChannelTest::aStaleSocketIsTakenOverAndTheNameLeavesWithTheListener()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vorimel.socket"));
    QVERIFY(leaveDeadSocket(path));
    QVERIFY(!InstanceChannel::send(path, {}));

    int requests = 0;
    {
        InstanceChannel channel;
        QVERIFY(channel.listen(path, [&](const InstanceChannel::Request &) { ++requests; }));
        QVERIFY(InstanceChannel::send(path, {}));
        QTRY_COMPARE(requests, 1);
    }
    QVERIFY(!QFile::exists(path));
}

void InstanceChannelTest::anotherUsersSocketIsRefused()
{
    if (::getuid() != 0)
        QSKIP("handing a socket to another user needs root");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vorimel.socket"));
    int requests = 0;
    InstanceChannel channel;
    QVERIFY(channel.listen(path, [&](const InstanceChannel::Request &) { ++requests; }));
    QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    QVERIFY(!InstanceChannel::send(path, {QStringLiteral("token")}));
    QTest::qWait(100);
    QCOMPARE(requests, 0);
}

QTEST_GUILESS_MAIN(InstanceChannelTest)
#include "tst_instance_channel.moc"
