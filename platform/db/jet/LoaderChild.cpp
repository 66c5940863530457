#include "platform/db/jet/LoaderChild.h"

#include "platform/db/jet/JetToSqlite.h"
#include "platform/db/jet/LoaderConfinement.h"
#include "platform/db/jet/LoaderProtocol.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform::db::loader {
namespace {

constexpr int kOrphaned = 4;

void writeAll(const void *data, std::size_t size)
{
    const auto *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(kMessagesFd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            _exit(3); // the program stopped listening
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

void sendFrame(Tag tag, const void *data, std::uint64_t size)
{
    writeAll(&tag, 1);
    writeAll(&size, sizeof size);
    if (data)
        writeAll(data, size);
}

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

#ifdef VORIMEL_LOADER_TEST_REQUESTS
// Test builds only: VORIMEL_LOADER_TEST_REQUEST=<what>:<path> has the loader,
// once confined, try what a fooled reader might: "read" or "write" a file,
// open a "socket", "run" a program. Refused, it fails as a fooled reader
// would; allowed, it goes on reading and the test sees a database.
void honourTestRequest(LoaderChild &child)
{
    const char *request = std::getenv("VORIMEL_LOADER_TEST_REQUEST");
    const char *colon = request ? std::strchr(request, ':') : nullptr;
    if (!colon)
        return;
    const std::string what(request, colon);
    const char *path = colon + 1;
    int fd = -1;
    if (what == "read") {
        fd = ::open(path, O_RDONLY | O_CLOEXEC);
    } else if (what == "write") {
        fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    } else if (what == "socket") {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    } else if (what == "run") {
        char *const argv[] = {const_cast<char *>(path), nullptr};
        ::execv(path, argv);
    }
    if (fd < 0)
        child.fail("the reader was refused to " + what + ' ' + path + ": " + std::strerror(errno));
    ::close(fd);
}
#endif

} // namespace

LoaderChild::LoaderChild(int argc, char **argv)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // Started by a program that has died meanwhile: the death signal came
    // too early to reach us, and we now belong to someone else.
    const long parent = argc > 1 ? std::strtol(argv[argc - 1], nullptr, 10) : 0;
    if (parent <= 0 || ::getppid() != pid_t(parent))
        _exit(kOrphaned);
    // Nothing else of the program's is ours to hold open.
    ::syscall(SYS_close_range, kMessagesFd + 1, ~0U, 0);
    std::signal(SIGPIPE, SIG_IGN);
    ::unsetenv("MDBICONV"); // names must come out of libmdb as UTF-8
    struct stat info;
    if (::fstat(kSourceFd, &info) != 0 || ::fcntl(kResultFd, F_GETFD) < 0 || ::fcntl(kMessagesFd, F_GETFD) < 0)
        _exit(kOrphaned);
    size_ = std::size_t(info.st_size);
    if (size_ > 0) {
        void *mapped = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, kSourceFd, 0);
        if (mapped == MAP_FAILED)
            fail("the file cannot be mapped by the reader");
        source_ = static_cast<const char *>(mapped);
    }
    lastBeat_ = nowMs();
}

void LoaderChild::confine()
{
    try {
        prepareForConfinement(source());
        loader::confine();
    } catch (const std::exception &e) {
        fail(e.what());
    }
}

void LoaderChild::beat()
{
    const long long now = nowMs();
    if (now - lastBeat_ < 50)
        return;
    const char tag = Heartbeat;
    writeAll(&tag, 1);
    lastBeat_ = now;
}

std::span<unsigned char> LoaderChild::resultStorage()
{
    if (!storage_) {
        // Text grows when Jet's compressed UCS-2 becomes UTF-8, and the copy
        // has indexes of its own: four times the source leaves room.
        const std::uint64_t wanted = std::min<std::uint64_t>(std::uint64_t(size_) * 4 + (std::uint64_t(64) << 20),
                                                             kLargestCopy);
        if (::ftruncate(kResultFd, off_t(wanted)) != 0)
            fail("there is no memory for its copy");
        void *mapped = ::mmap(nullptr, std::size_t(wanted), PROT_READ | PROT_WRITE, MAP_SHARED, kResultFd, 0);
        if (mapped == MAP_FAILED)
            fail("there is no memory for its copy");
        storage_ = static_cast<unsigned char *>(mapped);
        storageSize_ = std::size_t(wanted);
    }
    return {storage_, storageSize_};
}

void LoaderChild::deliver(SqliteHandle database)
{
    sqlite3_int64 size = 0;
    const unsigned char *data = sqlite3_serialize(database.get(), "main", &size, SQLITE_SERIALIZE_NOCOPY);
    if (data != storage_ || size <= 0 || std::uint64_t(size) > storageSize_)
        fail("its copy is not where it was built");
    database.reset();
    ::munmap(storage_, storageSize_);
    // The program sees the copy's own length, not the room it was given.
    if (::ftruncate(kResultFd, off_t(size)) != 0)
        fail("its copy cannot be handed over");
    sendFrame(Database, nullptr, std::uint64_t(size));
    _exit(0);
}

void LoaderChild::fail(std::string_view description)
{
    sendFrame(Failure, description.data(), description.size());
    _exit(0);
}

void runLoader(int argc, char **argv)
{
    LoaderChild child(argc, argv);
    child.confine();
#ifdef VORIMEL_LOADER_TEST_REQUESTS
    honourTestRequest(child);
#endif
    try {
        SqliteHandle db = copyJetFileToSqlite(child.source(), [&child] { child.beat(); }, child.resultStorage());
        child.deliver(std::move(db));
    } catch (const std::exception &e) {
        child.fail(e.what());
    } catch (...) {
        child.fail("the reader failed for an unknown reason");
    }
}

} // namespace platform::db::loader
