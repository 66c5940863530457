#include "tools/InstalledDatabase.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <unistd.h>

namespace pcsdb {

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

} // namespace

std::filesystem::path followLinks(const std::filesystem::path &path)
{
    std::filesystem::path current = path;
    for (int step = 0; step < kMaxLinks; ++step) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(current, ec))
            return current;
        const std::filesystem::path target = std::filesystem::read_symlink(current, ec);
        if (ec)
            return current;
        current = (target.is_absolute() ? target : current.parent_path() / target).lexically_normal();
    }
    // A loop of links: the write fails on the path as given, with the system's message.
    return path;
}

DatabaseTarget findInstallTarget(const std::filesystem::path &toolFolder,
                                const std::filesystem::path &programFolderFromTool)
{
    DatabaseTarget result;
    const std::filesystem::path programFolder = (toolFolder / programFolderFromTool).lexically_normal();
    std::error_code ec;
    if (!std::filesystem::is_directory(programFolder, ec)) {
        result.problem = "no installed Vorimel: its folder " + programFolder.string() + " does not exist";
        return result;
    }
    result.database = followLinks(programFolder / "pcs.mdb");
    // The database is written beside its target and renamed onto it, so the folder
    // must take new files. Checked before the release is read, not after.
    const std::filesystem::path folder = result.database.parent_path();
    if (::access(folder.c_str(), W_OK) != 0) {
        const int error = errno;
        const bool needsRoot = (error == EACCES || error == EPERM) && ::geteuid() != 0;
        result.problem = "cannot write " + result.database.string() + ": " +
                         (needsRoot ? std::string("only root can; run the command as root, e.g. with sudo")
                                           : std::string(std::strerror(error)));
    }
    return result;
}

} // namespace pcsdb
