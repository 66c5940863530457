#include "platform/db/jet/MemoryFileSeal.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sched.h>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

namespace platform::db {
namespace {

constexpr int kAttempts = 4;
constexpr auto kPause = std::chrono::milliseconds(20);

bool addSeals(int fd)
{
    return ::fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) == 0;
}

// The kernel empties the current processor's page batches before it looks
// for references, and only that processor's. Sealing a new empty memory file
// on each processor we may run on empties them all (a file already sealed
// would not be looked at again), so the next look sees what is really held.
void emptyEveryProcessorsPageBatches()
{
    cpu_set_t allowed;
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &allowed))
            continue;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        if (::sched_setaffinity(0, sizeof one, &one) != 0)
            continue;
        const int empty = ::memfd_create("vorimel-drain", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        if (empty >= 0) {
            ::fcntl(empty, F_ADD_SEALS, F_SEAL_WRITE);
            ::close(empty);
        }
    }
    ::sched_setaffinity(0, sizeof allowed, &allowed);
}

} // namespace

int sealAgainstChange(int memoryFile)
{
    for (int attempt = 1;; ++attempt) {
        if (addSeals(memoryFile))
            return 0;
        const int error = errno;
        if ((error != EBUSY && error != EINTR) || attempt == kAttempts)
            return error;
        emptyEveryProcessorsPageBatches();
        std::this_thread::sleep_for(kPause * attempt);
    }
}

} // namespace platform::db
