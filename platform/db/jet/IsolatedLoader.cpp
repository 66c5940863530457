#include "platform/db/jet/IsolatedLoader.h"

#include "platform/db/jet/JetToSqlite.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <utility>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform::db {
namespace {

using Clock = std::chrono::steady_clock;

enum Tag : char { Heartbeat = 'H', Database = 'D', Failure = 'E' };

// A damaged file cannot make the child hand over more than this.
constexpr std::uint64_t kLargestCopy = std::uint64_t(16) << 30;

// ---- child side: only _exit, never a return into the caller's code ----

void writeAll(int fd, const void *data, std::size_t size)
{
    const auto *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            _exit(3);
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

// A tag, a size, and for a failure its message; a database travels in the
// memory file, only its size in the frame.
void sendFrame(int fd, Tag tag, const void *data, std::uint64_t size)
{
    writeAll(fd, &tag, 1);
    writeAll(fd, &size, sizeof size);
    if (data)
        writeAll(fd, data, size);
}

[[noreturn]] void runChild(std::string_view fileBytes, const CopyMaker &makeCopy, int out, int memoryFile,
                           pid_t parent)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        _exit(4);
    std::signal(SIGPIPE, SIG_IGN);
    ::unsetenv("MDBICONV"); // names must come out of libmdb as UTF-8
    auto lastBeat = Clock::now();
    const auto beat = [&] {
        const auto now = Clock::now();
        if (now - lastBeat >= std::chrono::milliseconds(50)) {
            const char tag = Heartbeat;
            writeAll(out, &tag, 1);
            lastBeat = now;
        }
    };
    try {
        SqliteHandle db = makeCopy ? makeCopy(fileBytes, beat) : copyJetFileToSqlite(fileBytes, beat);
        sqlite3_int64 size = 0;
        unsigned char *data = sqlite3_serialize(db.get(), "main", &size, 0);
        if (!data)
            throw std::runtime_error("there is not enough memory for its copy");
        writeAll(memoryFile, data, static_cast<std::size_t>(size));
        sendFrame(out, Database, nullptr, static_cast<std::uint64_t>(size));
    } catch (const std::exception &e) {
        sendFrame(out, Failure, e.what(), std::strlen(e.what()));
    } catch (...) {
        static const char unknown[] = "the reader failed for an unknown reason";
        sendFrame(out, Failure, unknown, sizeof unknown - 1);
    }
    _exit(0);
}

// ---- parent side ----

class ChildWatch {
public:
    ChildWatch(pid_t pid, int fd, std::chrono::milliseconds stallLimit)
        : pid_(pid), fd_(fd), stallLimit_(stallLimit)
    {
    }
    ~ChildWatch()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            reap();
        }
        ::close(fd_);
    }
    ChildWatch(const ChildWatch &) = delete;
    ChildWatch &operator=(const ChildWatch &) = delete;

    // Reads exactly size bytes; any data counts as a sign of life.
    void readExact(void *into, std::size_t size)
    {
        auto *p = static_cast<char *>(into);
        auto deadline = Clock::now() + stallLimit_;
        while (size > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                stalled();
            pollfd waitFor{fd_, POLLIN, 0};
            const int ready = ::poll(&waitFor, 1, static_cast<int>(left.count()) + 1);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready == 0)
                continue; // the deadline check above decides
            const ssize_t n = ::read(fd_, p, size);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n <= 0)
                ended();
            p += n;
            size -= static_cast<std::size_t>(n);
            deadline = Clock::now() + stallLimit_;
        }
    }

    void finish()
    {
        const int status = reap();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            throw LoadFailure(describe(status));
    }

private:
    int reap()
    {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return status;
    }

    [[noreturn]] void stalled()
    {
        ::kill(pid_, SIGKILL);
        reap();
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", stallLimit_.count() / 1000.0);
        throw LoadFailure(std::string("reading it stopped making progress for ") + seconds + " s");
    }

    [[noreturn]] void ended() { throw LoadFailure(describe(reap())); }

    static std::string describe(int status)
    {
        if (WIFSIGNALED(status))
            return std::string("reading it crashed the reader (") + strsignal(WTERMSIG(status)) + ")";
        return "the reader ended without a result (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    }

    pid_t pid_;
    int fd_;
    std::chrono::milliseconds stallLimit_;
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Seals the memory file the child filled, maps it read-only and opens the
// database in place: no copy, and nothing can change it afterwards.
LoadedDatabase openCopy(int memoryFile, std::uint64_t size)
{
    struct stat info;
    if (size == 0 || ::fstat(memoryFile, &info) != 0 || std::uint64_t(info.st_size) != size)
        throw LoadFailure("the reader's answer is garbled");
    if (::fcntl(memoryFile, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0)
        throw LoadFailure(std::string("its copy cannot be sealed: ") + std::strerror(errno));
    void *memory = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, memoryFile, 0);
    if (memory == MAP_FAILED)
        throw LoadFailure(std::string("its copy cannot be mapped: ") + std::strerror(errno));
    sqlite3 *raw = nullptr;
    // A connection is used by the thread that opened it only: no locking
    // around every call.
    const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    LoadedDatabase loaded(memory, size, SqliteHandle(raw));
    if (rc != SQLITE_OK)
        throw LoadFailure("there is not enough memory for its copy");
    const auto size64 = static_cast<sqlite3_int64>(size);
    if (sqlite3_deserialize(raw, "main", static_cast<unsigned char *>(memory), size64, size64,
                            SQLITE_DESERIALIZE_READONLY)
        != SQLITE_OK)
        throw LoadFailure(std::string("its copy cannot be opened: ") + sqlite3_errmsg(raw));
    return loaded;
}

LoadedDatabase receive(ChildWatch &child, int memoryFile)
{
    for (;;) {
        char tag = 0;
        child.readExact(&tag, 1);
        if (tag == Heartbeat)
            continue;
        std::uint64_t size = 0;
        child.readExact(&size, sizeof size);
        if ((tag != Database && tag != Failure) || size > kLargestCopy)
            throw LoadFailure("the reader's answer is garbled");
        if (tag == Failure) {
            std::string message(size, '\0');
            child.readExact(message.data(), size);
            child.finish();
            throw LoadFailure(message);
        }
        child.finish();
        return openCopy(memoryFile, size);
    }
}

} // namespace

LoadedDatabase loadJetFileIsolated(std::string_view fileBytes, std::chrono::milliseconds stallLimit,
                                   const CopyMaker &makeCopy)
{
    const FileDescriptor memoryFile(::memfd_create("vorimel-database", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    if (memoryFile.get() < 0)
        throw LoadFailure(std::string("no memory file for its copy: ") + std::strerror(errno));
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw LoadFailure(std::string("no pipe to the reader: ") + std::strerror(errno));
    ::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20); // fewer, larger writes; fine if refused
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        throw LoadFailure(std::string("the reader cannot be started: ") + std::strerror(error));
    }
    if (pid == 0) {
        ::close(fds[0]);
        runChild(fileBytes, makeCopy, fds[1], memoryFile.get(), parent);
    }
    ::close(fds[1]);
    ChildWatch child(pid, fds[0], stallLimit);
    return receive(child, memoryFile.get());
}

} // namespace platform::db
