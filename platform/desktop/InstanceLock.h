#pragma once
// The previous-instance flag: a lock file that exactly one live process of the
// program holds. A lock file that does not name a live process of this
// machine (left by a run that crashed or was killed, empty, garbled, or
// written on another host) is stale and taken over.

#include <QString>
#include <memory>

class QLockFile;

namespace platform::desktop {

class InstanceLock {
public:
    // An empty path means no usable place for a lock: acquire() lets the
    // program run without one.
    explicit InstanceLock(QString lockFilePath);
    ~InstanceLock(); // releases the lock if held
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Takes the lock. Returns false only when another live process holds it; a
    // lock file that cannot be written at all does not keep the program from
    // running, so that case counts as acquired (without a lock).
    bool acquire();
    bool isHeld() const;
    // Lets the lock go at once (as the destructor does).
    void release();
    const QString &path() const { return path_; }

    // vorimel.lock in the user's runtime directory or, when there is none, in
    // a folder of the temporary directory that only this user can enter
    // (created with mode 0700). Empty when that folder exists but belongs to
    // someone else or is open to others: another user must not be able to
    // plant a lock that keeps the program from starting.
    static QString defaultPath();

private:
    // True when the lock file names a process that runs on this machine now.
    bool holderIsAlive() const;

    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace platform::desktop
