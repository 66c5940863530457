#pragma once
// Reads the CMS order file (icd10pcs_order_YYYY.txt): fixed width, one line per
// table header (flag 0) or valid seven-character code (flag 1).

#include <filesystem>
#include <string>
#include <vector>

namespace pcsdb {

struct OrderEntry {
    std::string code;        // seven characters
    std::string longTitle;   // UTF-8
    long long line = 0;      // where the code stands in the order file
};

// The valid codes in file order. Throws SourceError on the first malformed line,
// a duplicate code, or a file without codes.
std::vector<OrderEntry> readOrderFile(const std::filesystem::path &file);

} // namespace pcsdb
