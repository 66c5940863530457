#include "fuzz/InputFile.h"

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace fuzz {

std::filesystem::path asFile(const std::uint8_t *data, std::size_t size)
{
    static const int fd = ::memfd_create("fuzz-input", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 0) != 0)
        std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, off_t(done));
        if (n <= 0)
            std::abort();
        done += std::size_t(n);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace fuzz
