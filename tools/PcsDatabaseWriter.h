#pragma once
// Writes the assembled rows as pcs.mdb: the tables longpcs and getalldata, and
// the table release saying what they were built from.

#include "tools/ReleaseFacts.h"

#include <filesystem>

namespace pcsdb {

class Progress;
struct PcsRows;

// Throws mdb::WriterError when the file cannot be written; the target is then
// left as it was.
void writePcsDatabase(const PcsRows &rows, const ReleaseFacts &facts, const std::filesystem::path &target,
                      Progress &progress);

} // namespace pcsdb
