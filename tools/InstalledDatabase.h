#pragma once
// Where the database of the installed program is, for `vorimel-pcsdb --install`:
// the pcs.mdb in the program folder, found from where this tool is installed, and
// whether this user may replace it.

#include <filesystem>
#include <string>

namespace pcsdb {

// The file that a path names once the symbolic links it ends in are followed (a
// link that points nowhere yields the path it would point to). Writing there keeps
// the link, where a rename onto the link itself would replace it with the file.
std::filesystem::path followLinks(const std::filesystem::path &path);

struct DatabaseTarget {
    std::filesystem::path database; // the file to write, links followed
    std::string problem;            // why it cannot be written; empty when it can
};

// The installed database for a tool that runs from toolFolder, where the program
// folder is programFolderFromTool away (relative to toolFolder, or absolute).
DatabaseTarget findInstallTarget(const std::filesystem::path &toolFolder,
                                const std::filesystem::path &programFolderFromTool);

} // namespace pcsdb
