#pragma once
// The previous-instance flag: a lock file that exactly one live process of the
// program holds. A lock left behind by a run that crashed or was killed names a
// process that no longer exists and is taken over.

#include <QString>
#include <memory>

class QLockFile;

namespace platform::desktop {

class InstanceLock {
public:
    explicit InstanceLock(QString lockFilePath);
    ~InstanceLock(); // releases the lock if held
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Takes the lock. Returns false only when another live process holds it; a
    // lock file that cannot be written at all does not keep the program from
    // running, so that case counts as acquired (without a lock).
    bool acquire();
    bool isHeld() const;
    const QString &path() const { return path_; }

    // vorimel.lock in the user's runtime directory, or a per-user name in the
    // temporary directory when there is none.
    static QString defaultPath();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace platform::desktop
