#include "platform/db/jet/LoaderConfinement.h"

#include "platform/db/jet/LoaderProtocol.h"
#include "mdb/Rc4.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <iconv.h>
#include <linux/landlock.h>
#include <seccomp.h>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define VORIMEL_LOADER_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORIMEL_LOADER_SANITIZED 1
#endif
#endif

namespace platform::db::loader {
namespace {

// Converters stay open for the life of the process: glibc loads a code
// page's module from a file when the first converter for it is opened, and
// may unload it again once none is left.
void keepConverter(const char *to, const char *from)
{
    static std::array<iconv_t, 8> kept{};
    static std::size_t count = 0;
    const iconv_t converter = iconv_open(to, from);
    if (converter != reinterpret_cast<iconv_t>(-1) && count < kept.size())
        kept[count++] = converter;
}

// The code page a Jet 3 file's header names (0 for other versions). The
// header's block from 0x18 on is masked with RC4 under a fixed key.
unsigned jet3CodePage(std::string_view bytes)
{
    constexpr std::size_t kVersion = 0x14, kMasked = 0x18, kCodePage = 0x3C;
    if (bytes.size() < kCodePage + 2 || bytes[kVersion] != 0 || bytes[kVersion + 1] != 0 || bytes[kVersion + 2] != 0
        || bytes[kVersion + 3] != 0)
        return 0;
    std::array<std::uint8_t, kCodePage + 2 - kMasked> block;
    std::memcpy(block.data(), bytes.data() + kMasked, block.size());
    constexpr std::array<std::uint8_t, 4> key{0xC7, 0xDA, 0x39, 0x6B};
    mdb::Rc4(key.data(), key.size()).apply(block.data(), block.size());
    return block[kCodePage - kMasked] | unsigned(block[kCodePage - kMasked + 1]) << 8;
}

// --- Landlock: the file system, a second wall behind the filter -----------

#ifndef LANDLOCK_ACCESS_FS_REFER
#define LANDLOCK_ACCESS_FS_REFER (1ULL << 13)
#endif
#ifndef LANDLOCK_ACCESS_FS_TRUNCATE
#define LANDLOCK_ACCESS_FS_TRUNCATE (1ULL << 14)
#endif
#ifndef LANDLOCK_ACCESS_FS_IOCTL_DEV
#define LANDLOCK_ACCESS_FS_IOCTL_DEV (1ULL << 15)
#endif

std::uint64_t deniedFileAccess(long abi)
{
    std::uint64_t changes = LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR
        | LANDLOCK_ACCESS_FS_REMOVE_FILE | LANDLOCK_ACCESS_FS_MAKE_CHAR | LANDLOCK_ACCESS_FS_MAKE_DIR
        | LANDLOCK_ACCESS_FS_MAKE_REG | LANDLOCK_ACCESS_FS_MAKE_SOCK | LANDLOCK_ACCESS_FS_MAKE_FIFO
        | LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM;
    if (abi >= 2)
        changes |= LANDLOCK_ACCESS_FS_REFER;
    if (abi >= 3)
        changes |= LANDLOCK_ACCESS_FS_TRUNCATE;
#ifdef VORIMEL_LOADER_SANITIZED
    // At exit the leak checker reads /proc and its suppressions, and a report
    // starts the symbolizer: reading and running stay open, changing does not.
    return changes;
#else
    std::uint64_t everything = changes | LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_READ_FILE
        | LANDLOCK_ACCESS_FS_READ_DIR;
    if (abi >= 5)
        everything |= LANDLOCK_ACCESS_FS_IOCTL_DEV;
    return everything;
#endif
}

// Kernels without Landlock (or with it switched off) leave the filter alone.
void denyFileSystem()
{
    const long abi = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    if (abi < 1)
        return;
    landlock_ruleset_attr attributes{};
    attributes.handled_access_fs = deniedFileAccess(abi);
    // No rules: nothing beneath any path is granted.
    const int ruleset = int(::syscall(SYS_landlock_create_ruleset, &attributes, sizeof attributes, 0));
    if (ruleset < 0)
        return;
    ::syscall(SYS_landlock_restrict_self, ruleset, 0);
    ::close(ruleset);
}

// --- seccomp: the calls reading and inserting need, nothing else ----------

class Filter {
public:
    Filter() : context_(seccomp_init(SCMP_ACT_ERRNO(EPERM)))
    {
        if (!context_)
            throw std::runtime_error("the reader cannot shut itself off from the system (no filter)");
        // Every thread, including any a library started before us.
        check(seccomp_attr_set(context_, SCMP_FLTATR_CTL_TSYNC, 1), "threads");
        check(seccomp_attr_set(context_, SCMP_FLTATR_ACT_BADARCH, SCMP_ACT_ERRNO(EPERM)), "architectures");
    }
    ~Filter() { seccomp_release(context_); }
    Filter(const Filter &) = delete;
    Filter &operator=(const Filter &) = delete;

    void allow(std::initializer_list<int> calls)
    {
        for (const int call : calls)
            check(seccomp_rule_add(context_, SCMP_ACT_ALLOW, call, 0), "call");
    }
    // The call with its first argument one of the values.
    void allowOn(int call, std::initializer_list<scmp_datum_t> firstArgument)
    {
        for (const scmp_datum_t value : firstArgument)
            check(seccomp_rule_add(context_, SCMP_ACT_ALLOW, call, 1, SCMP_A0(SCMP_CMP_EQ, value)), "argument");
    }
    void allowWith(int call, scmp_arg_cmp condition)
    {
        check(seccomp_rule_add(context_, SCMP_ACT_ALLOW, call, 1, condition), "argument");
    }
    void answer(int call, int error) { check(seccomp_rule_add(context_, SCMP_ACT_ERRNO(error), call, 0), "answer"); }
    void load() { check(seccomp_load(context_), "load"); }

private:
    void check(int rc, const char *what)
    {
        if (rc < 0)
            throw std::runtime_error(std::string("the reader cannot shut itself off from the system (")
                                     + what + ": " + std::strerror(-rc) + ")");
    }
    scmp_filter_ctx context_;
};

void allowReadingAndInserting(Filter &filter)
{
    filter.allow({
        // memory: libmdb, SQLite and the allocator
        SCMP_SYS(brk), SCMP_SYS(mmap), SCMP_SYS(munmap), SCMP_SYS(mremap), SCMP_SYS(mprotect),
        SCMP_SYS(madvise),
        // the reading thread and its hand-over of batches
        SCMP_SYS(set_robust_list), SCMP_SYS(rseq), SCMP_SYS(futex),
        SCMP_SYS(sched_yield), SCMP_SYS(sched_getaffinity), SCMP_SYS(exit), SCMP_SYS(exit_group),
        SCMP_SYS(gettid), SCMP_SYS(getpid), SCMP_SYS(getppid),
        // signals, time, and what glibc asks the kernel about itself
        SCMP_SYS(rt_sigaction), SCMP_SYS(rt_sigprocmask), SCMP_SYS(rt_sigreturn), SCMP_SYS(sigaltstack),
        SCMP_SYS(restart_syscall), SCMP_SYS(clock_gettime), SCMP_SYS(clock_getres), SCMP_SYS(clock_nanosleep),
        SCMP_SYS(nanosleep), SCMP_SYS(gettimeofday), SCMP_SYS(time), SCMP_SYS(getrandom), SCMP_SYS(sysinfo),
        SCMP_SYS(uname), SCMP_SYS(prlimit64), SCMP_SYS(getrlimit),
        // descriptors already held; nothing here makes new ones
        SCMP_SYS(read), SCMP_SYS(pread64), SCMP_SYS(lseek), SCMP_SYS(fstat), SCMP_SYS(close),
    });
    // Threads, never processes: a fooled reader cannot leave children behind
    // (they would not die with the program). clone3 hides its flags from the
    // filter; told it does not exist, glibc falls back to clone.
    filter.allowWith(SCMP_SYS(clone), SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD));
    filter.answer(SCMP_SYS(clone3), ENOSYS);
    filter.allowWith(SCMP_SYS(newfstatat), SCMP_A3(SCMP_CMP_MASKED_EQ, AT_EMPTY_PATH, AT_EMPTY_PATH));
    filter.allowWith(SCMP_SYS(fcntl), SCMP_A1(SCMP_CMP_EQ, F_GETFD));
    filter.allowWith(SCMP_SYS(fcntl), SCMP_A1(SCMP_CMP_EQ, F_GETFL));
    filter.allowOn(SCMP_SYS(ftruncate), {kResultFd});
    // Messages to the program; standard output and error for libraries' complaints.
    filter.allowOn(SCMP_SYS(write), {STDOUT_FILENO, STDERR_FILENO, kMessagesFd});
    filter.allowOn(SCMP_SYS(writev), {STDOUT_FILENO, STDERR_FILENO, kMessagesFd});
    // abort() and raise() signal this process only.
    filter.allowOn(SCMP_SYS(tgkill), {scmp_datum_t(::getpid())});
}

#ifdef VORIMEL_LOADER_SANITIZED
// What AddressSanitizer and LeakSanitizer do at exit and in a report: read
// /proc and the suppressions, stop the threads with ptrace from a helper
// task, start the symbolizer and talk to it through pipes. Opening for
// reading only; Landlock still forbids changing any file.
void allowSanitizers(Filter &filter)
{
    constexpr scmp_datum_t kTemporary = 020000000; // O_TMPFILE without its O_DIRECTORY
    constexpr scmp_datum_t kChanging = O_ACCMODE | O_CREAT | O_TRUNC | O_APPEND | kTemporary;
    filter.allowWith(SCMP_SYS(openat), SCMP_A2(SCMP_CMP_MASKED_EQ, kChanging, O_RDONLY));
    filter.allowWith(SCMP_SYS(open), SCMP_A1(SCMP_CMP_MASKED_EQ, kChanging, O_RDONLY));
    filter.allow({
        SCMP_SYS(getdents), SCMP_SYS(getdents64), SCMP_SYS(readlink), SCMP_SYS(readlinkat), SCMP_SYS(stat), SCMP_SYS(lstat),
        SCMP_SYS(access), SCMP_SYS(ptrace), SCMP_SYS(wait4), SCMP_SYS(waitid), SCMP_SYS(prctl),
        SCMP_SYS(clone), SCMP_SYS(process_vm_readv), SCMP_SYS(kill), SCMP_SYS(tkill), SCMP_SYS(tgkill), SCMP_SYS(pipe),
        SCMP_SYS(pipe2), SCMP_SYS(dup), SCMP_SYS(dup2), SCMP_SYS(dup3), SCMP_SYS(fork), SCMP_SYS(vfork),
        SCMP_SYS(execve), SCMP_SYS(write), SCMP_SYS(writev), SCMP_SYS(fcntl), SCMP_SYS(setrlimit),
        SCMP_SYS(getuid), SCMP_SYS(geteuid), SCMP_SYS(sched_setaffinity), SCMP_SYS(poll), SCMP_SYS(ppoll),
        SCMP_SYS(ioctl), SCMP_SYS(statx), SCMP_SYS(getcwd), SCMP_SYS(faccessat), SCMP_SYS(faccessat2),
        // the symbolizer, which starts under this filter
        SCMP_SYS(arch_prctl), SCMP_SYS(set_tid_address), SCMP_SYS(getgid), SCMP_SYS(getegid), SCMP_SYS(fadvise64),
    });
}
#endif

} // namespace

void prepareForConfinement(std::string_view fileBytes)
{
    // libmdb's own converters for names (it reads MDB_JET3_CHARSET too), and
    // the code page of a Jet 3 file's text.
    keepConverter("UCS-2LE", "UTF-8");
    keepConverter("UTF-8", "UCS-2LE");
    if (const unsigned codePage = jet3CodePage(fileBytes)) {
        const char *names = std::getenv("MDB_JET3_CHARSET");
        const std::string jet3 = names && *names ? names : "CP1252";
        keepConverter(jet3.c_str(), "UTF-8");
        keepConverter("UTF-8", jet3.c_str());
        keepConverter("UTF-8", ("CP" + std::to_string(codePage)).c_str());
    }
}

void confine()
{
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        throw std::runtime_error(std::string("the reader cannot shut itself off from the system: ")
                                 + std::strerror(errno));
    denyFileSystem();
    Filter filter;
    allowReadingAndInserting(filter);
#ifdef VORIMEL_LOADER_SANITIZED
    allowSanitizers(filter);
#endif
    filter.load();
}

} // namespace platform::db::loader
