#pragma once
// Reads the ICD-10-PCS to ICD-9-CM General Equivalence Mapping (I10 to I9
// direction): fixed width, one line per (ICD-10-PCS code, ICD-9-CM code) pair.

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pcsdb {

// The GEM's word for "this code has no ICD-9-CM equivalent".
inline constexpr std::string_view gemNoEquivalent = "NoI9";

struct GemMapping {
    std::string icd9Code;   // as in the GEM: digits without point, or gemNoEquivalent
    long long line = 0;
};

class GemFile {
public:
    // Throws SourceError on a malformed line or a code that has both "no
    // equivalent" and equivalents. A pair given twice (with other flags) counts once.
    static GemFile read(const std::filesystem::path &file);

    // The code's distinct mappings in the GEM's order; nullptr when the GEM does not know the code.
    const std::vector<GemMapping> *mappingsOf(const std::string &pcsCode) const;

private:
    std::unordered_map<std::string, std::vector<GemMapping>> m_mappings;
};

} // namespace pcsdb
