#pragma once
// Builds pcs.mdb from a CMS release: reads and checks the four files, assembles
// the rows, writes the database. Nothing is left at the target on failure.

#include "tools/Release.h"

#include <filesystem>

namespace pcsdb {

class Progress;

struct BuildSummary {
    std::size_t procedures = 0;  // rows of longpcs
    std::size_t details = 0;     // rows of getalldata
};

// Throws SourceError for a fault in the release files, mdb::WriterError when the
// database cannot be written.
BuildSummary buildPcsDatabase(const ReleaseFiles &files, const std::filesystem::path &target, Progress &progress);

} // namespace pcsdb
