#pragma once
// One CMS release read into memory: the four files the database is built from.

#include "tools/GemFile.h"
#include "tools/Icd9Titles.h"
#include "tools/OrderFile.h"
#include "tools/PcsTables.h"

#include <filesystem>
#include <vector>

namespace pcsdb {

class Progress;

struct ReleaseFiles {
    std::filesystem::path order;
    std::filesystem::path tables;
    std::filesystem::path gem;
    std::filesystem::path icd9Titles;
};

struct Release {
    ReleaseFiles files;
    std::vector<OrderEntry> order;
    PcsTables tables;
    GemFile gem;
    Icd9Titles titles;

    // Throws SourceError for the first fault found in any of the files.
    static Release read(const ReleaseFiles &files, Progress &progress);
};

} // namespace pcsdb
