#include "InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <cerrno>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::desktop {

namespace {

// The per-user folder in the temporary directory, made private if it is not
// there yet; empty when what is there cannot be trusted.
QString privateTempFolder()
{
    const QString folder = QDir(QDir::tempPath()).filePath(QStringLiteral("vorimel-%1").arg(::getuid()));
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    struct stat info;
    // lstat: a symbolic link planted under our name is not our folder.
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()
        || (info.st_mode & 077) != 0)
        return QString();
    return folder;
}

} // namespace

InstanceLock::InstanceLock(QString lockFilePath) : path_(std::move(lockFilePath)) {}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire()
{
    if (isHeld())
        return true;
    if (path_.isEmpty())
        return true;
    lock_ = std::make_unique<QLockFile>(path_);
    // A running instance may be days old: only a dead holder makes a lock stale,
    // never the lock file's age.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    // Qt takes over a lock whose process has died, but keeps one it cannot
    // read or that names another host forever, and every later start would
    // then end as a second instance. The removal fails while a live holder
    // keeps its file locked, so a lock caught half-written stays its own.
    if (lock_->error() == QLockFile::LockFailedError && !holderIsAlive() && lock_->removeStaleLockFile()
        && lock_->tryLock(0))
        return true;
    const bool heldByAnother = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
    return !heldByAnother;
}

bool InstanceLock::holderIsAlive() const
{
    qint64 pid = 0;
    QString hostname;
    QString appname;
    if (!lock_->getLockInfo(&pid, &hostname, &appname) || pid <= 0 || pid > qint64(INT32_MAX))
        return false;
    // The lock lives in a folder of this machine; a host name that is not
    // ours means the file was copied or the name changed, not a holder here.
    if (!hostname.isEmpty() && hostname != QSysInfo::machineHostName())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

void InstanceLock::release()
{
    lock_.reset();
}

bool InstanceLock::isHeld() const
{
    return lock_ && lock_->isLocked();
}

QString InstanceLock::defaultPath()
{
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty() && QFileInfo(runtimeDir).isDir())
        return QDir(runtimeDir).filePath(QStringLiteral("vorimel.lock"));
    const QString folder = privateTempFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("vorimel.lock"));
}

} // namespace platform::desktop
