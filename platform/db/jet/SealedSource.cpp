#include "platform/db/jet/SealedSource.h"

#include "platform/db/jet/MemoryFileSeal.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <unistd.h>
#include <utility>

namespace platform::db {
namespace {

constexpr std::size_t kChunk = std::size_t(1) << 20;

} // namespace

SealedSource::SealedSource() : fd_(::memfd_create("vorimel-source", MFD_CLOEXEC | MFD_ALLOW_SEALING))
{
    if (fd_ < 0)
        throw SourceReadError("no memory file for the reader", errno);
}

SealedSource::~SealedSource()
{
    if (fd_ >= 0)
        ::close(fd_);
}

SealedSource::SealedSource(SealedSource &&other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

void SealedSource::append(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw SourceReadError("the file cannot be handed to the reader", n < 0 ? errno : ENOSPC);
        bytes.remove_prefix(std::size_t(n));
    }
}

void SealedSource::seal()
{
    if (const int error = sealAgainstChange(fd_))
        throw SourceReadError("the file cannot be sealed for the reader", error);
}

SealedSource SealedSource::ofFile(int fd, std::uint64_t largest)
{
    SealedSource source;
    std::uint64_t copied = 0;
    bool kernelCopies = true;
    std::string buffer;
    for (;;) {
        if (copied > largest)
            throw SourceTooLarge("the file is larger than a database can be");
        ssize_t n = -1;
        if (kernelCopies) {
            n = ::sendfile(source.fd_, fd, nullptr, kChunk);
            // A file system that cannot hand its pages over: read them.
            if (n < 0 && (errno == EINVAL || errno == ENOSYS)) {
                kernelCopies = false;
                continue;
            }
        } else {
            buffer.resize(kChunk);
            n = ::read(fd, buffer.data(), buffer.size());
            if (n > 0)
                source.append(std::string_view(buffer.data(), std::size_t(n)));
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw SourceReadError("the file cannot be read", errno);
        if (n == 0)
            break;
        copied += std::uint64_t(n);
    }
    source.seal();
    return source;
}

} // namespace platform::db
