#pragma once
// A database written under a temporary name must not leave that file behind
// when the program is interrupted. While a temporary file exists its writer
// lists it here; a program that installs the handlers (its main, not a library)
// has every listed file removed when SIGINT, SIGTERM or SIGHUP ends it.

#include <string>

namespace mdb {

// Installs the handlers, leaving alone any of the signals that are ignored
// (as under nohup). The signal still ends the program as it would have.
void installInterruptCleanup();

// Lists a file for removal while it lives; moving it in place ends that.
class InterruptCleanupEntry {
public:
    InterruptCleanupEntry() = default;
    ~InterruptCleanupEntry() { release(); }
    InterruptCleanupEntry(const InterruptCleanupEntry &) = delete;
    InterruptCleanupEntry &operator=(const InterruptCleanupEntry &) = delete;

    void list(const std::string &path); // replaces what was listed
    void release();

private:
    int slot_ = -1;
};

} // namespace mdb
