#pragma once
// Reads the ICD-10-PCS tables XML (icd10pcs_tables_YYYY.xml).

#include "tools/PcsTables.h"

#include <filesystem>

namespace pcsdb {

// Throws SourceError for XML that is not well formed, a table or row that lacks
// or repeats a character position, an invalid character, an empty label, a
// table given twice, or two rows of one table that hold the same code.
PcsTables readTablesXml(const std::filesystem::path &file);

} // namespace pcsdb
