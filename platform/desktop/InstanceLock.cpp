#include "InstanceLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

namespace platform::desktop {

InstanceLock::InstanceLock(QString lockFilePath) : path_(std::move(lockFilePath)) {}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire()
{
    if (isHeld())
        return true;
    lock_ = std::make_unique<QLockFile>(path_);
    // A running instance may be days old: only a dead holder makes a lock stale,
    // never the lock file's age.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    const bool heldByAnother = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
    return !heldByAnother;
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
    return QDir(QDir::tempPath()).filePath(QStringLiteral("vorimel-%1.lock").arg(::getuid()));
}

} // namespace platform::desktop
