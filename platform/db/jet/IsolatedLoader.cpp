#include "platform/db/jet/IsolatedLoader.h"

#include "platform/db/jet/LoaderProtocol.h"
#include "platform/db/jet/MemoryFileSeal.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <utility>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform::db {
namespace {

using Clock = std::chrono::steady_clock;
using namespace loader;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor &&other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    int get() const { return fd_; }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

[[noreturn]] void failWithErrno(const std::string &what)
{
    throw LoadFailure(what + ": " + std::strerror(errno));
}

// Above the three numbers the loader expects, so that placing one of them
// cannot overwrite another still to be placed.
FileDescriptor above(int fd)
{
    FileDescriptor moved(::fcntl(fd, F_DUPFD_CLOEXEC, kMessagesFd + 1));
    if (moved.get() < 0)
        failWithErrno("the reader cannot be started");
    return moved;
}

class Spawn {
public:
    Spawn()
    {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attributes_);
    }
    ~Spawn()
    {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attributes_);
    }
    Spawn(const Spawn &) = delete;
    Spawn &operator=(const Spawn &) = delete;

    pid_t start(const LoaderCommand &loader, int source, int result, int messages)
    {
        ::posix_spawn_file_actions_adddup2(&actions_, source, kSourceFd);
        ::posix_spawn_file_actions_adddup2(&actions_, result, kResultFd);
        ::posix_spawn_file_actions_adddup2(&actions_, messages, kMessagesFd);
        // The program's handlers and blocked signals are no business of the
        // loader's: it starts with every signal at its default.
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attributes_, &none);
        ::posix_spawnattr_setsigdefault(&attributes_, &all);
        ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

        std::vector<std::string> arguments{loader.program};
        arguments.insert(arguments.end(), loader.arguments.begin(), loader.arguments.end());
        arguments.push_back(std::to_string(::getpid()));
        std::vector<char *> argv;
        for (std::string &argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);

        pid_t pid = -1;
        const int error = ::posix_spawn(&pid, loader.program.c_str(), &actions_, &attributes_, argv.data(), environ);
        if (error != 0)
            throw LoaderUnavailable("the reader program " + loader.program + " cannot be started: "
                                    + std::strerror(error));
        return pid;
    }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

class ChildWatch {
public:
    ChildWatch(pid_t pid, FileDescriptor messages, std::chrono::milliseconds stallLimit)
        : pid_(pid), messages_(std::move(messages)), stallLimit_(stallLimit)
    {
    }
    ~ChildWatch()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            reap();
        }
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
            pollfd waitFor{messages_.get(), POLLIN, 0};
            const int ready = ::poll(&waitFor, 1, static_cast<int>(left.count()) + 1);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready == 0)
                continue; // the deadline check above decides
            const ssize_t n = ::read(messages_.get(), p, size);
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
    FileDescriptor messages_;
    std::chrono::milliseconds stallLimit_;
};

// Seals the memory file the loader filled, maps it read-only and opens the
// database in place: no copy, and nothing can change it afterwards.
LoadedDatabase openCopy(int memoryFile, std::uint64_t size)
{
    struct stat info;
    if (size == 0 || ::fstat(memoryFile, &info) != 0 || std::uint64_t(info.st_size) != size)
        throw LoadFailure("the reader's answer is garbled");
    if (const int error = sealAgainstChange(memoryFile))
        throw LoadFailure(std::string("its copy cannot be sealed: ") + std::strerror(error));
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

std::string programFolder()
{
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string executable(path, std::size_t(n));
    return executable.substr(0, executable.rfind('/'));
}

} // namespace

// Only the running program's own folder: a copy run from elsewhere must not
// start whatever loader some other folder holds.
LoaderCommand defaultLoaderCommand()
{
    return {programFolder() + '/' + kProgramName, {}};
}

struct LoadInProgress::State {
    FileDescriptor result;
    ChildWatch child;
};

LoadInProgress::LoadInProgress(std::unique_ptr<State> state) : d(std::move(state)) {}
LoadInProgress::~LoadInProgress() = default;
LoadInProgress::LoadInProgress(LoadInProgress &&other) noexcept = default;
LoadInProgress &LoadInProgress::operator=(LoadInProgress &&other) noexcept = default;

LoadedDatabase LoadInProgress::finish()
{
    if (!d)
        throw LoadFailure("the reader's answer was taken already");
    const std::unique_ptr<State> state = std::move(d);
    return receive(state->child, state->result.get());
}

LoadInProgress startLoadingJetFile(const SealedSource &source, std::chrono::milliseconds stallLimit,
                                   const LoaderCommand &loader)
{
    FileDescriptor result(::memfd_create("vorimel-database", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    if (result.get() < 0)
        failWithErrno("no memory file for its copy");
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        failWithErrno("no pipe to the reader");
    FileDescriptor messages(fds[0]);
    FileDescriptor messagesWriteEnd(fds[1]);
    ::fcntl(messagesWriteEnd.get(), F_SETPIPE_SZ, 1 << 20); // fewer, larger writes; fine if refused

    pid_t pid;
    {
        const FileDescriptor sourceAbove = above(source.fd()), resultAbove = above(result.get()),
                             messagesAbove = above(messagesWriteEnd.get());
        Spawn spawn;
        pid = spawn.start(loader, sourceAbove.get(), resultAbove.get(), messagesAbove.get());
    }
    messagesWriteEnd.reset(); // the loader's end only: its exit is then the pipe's end
    return LoadInProgress(std::unique_ptr<LoadInProgress::State>(
        new LoadInProgress::State{std::move(result), ChildWatch(pid, std::move(messages), stallLimit)}));
}

LoadedDatabase loadJetFileIsolated(const SealedSource &source, std::chrono::milliseconds stallLimit,
                                   const LoaderCommand &loader)
{
    return startLoadingJetFile(source, stallLimit, loader).finish();
}

} // namespace platform::db
