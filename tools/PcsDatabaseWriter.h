#pragma once
// Writes the assembled rows as pcs.mdb: the tables longpcs and getalldata, the
// code tables pcstable and pcsaxis, and the table release saying what they were
// built from.

#include "tools/ReleaseFacts.h"

#include <filesystem>

namespace pcsdb {

class Progress;
struct PcsRows;
struct CodeTableRows;

// Throws mdb::WriterError when the file cannot be written; the target is then
// left as it was.
void writePcsDatabase(const PcsRows &rows, const CodeTableRows &codeTables, const ReleaseFacts &facts, const std::filesystem::path &target,
                      Progress &progress);

} // namespace pcsdb
