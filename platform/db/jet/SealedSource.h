#pragma once
// The bytes of a database file in a memory file that nobody can change any
// more: the loader maps it, and nothing it does can reach the program's own
// memory. Filled from an open file by the kernel, the program never holds a
// copy of its own.

#include "platform/db/jet/LayerGuard.h"

#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace platform::db {

// Reading the file failed: error is the errno value.
class SourceReadError : public std::runtime_error {
public:
    SourceReadError(const char *what, int error) : std::runtime_error(what), error(error) {}
    int error;
};

class SourceTooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SealedSource {
public:
    // fd's bytes from where it stands to its end, even when the file grew
    // since it was measured; more than largest bytes throw SourceTooLarge.
    static SealedSource ofFile(int fd, std::uint64_t largest);

    ~SealedSource();
    SealedSource(SealedSource &&other) noexcept;
    SealedSource &operator=(SealedSource &&other) = delete;
    SealedSource(const SealedSource &) = delete;

    int fd() const { return fd_; }

private:
    SealedSource();
    void append(std::string_view bytes);
    void seal();

    int fd_ = -1;
};

} // namespace platform::db
