#pragma once
// The rows of pcs.mdb, assembled from the four release files: one procedure per
// valid code, and one detail row per ICD-9-CM code the procedure maps to.

#include "tools/PcsCode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pcsdb {

struct Release;

inline constexpr std::string_view noEquivalentDescription = "No ICD-9-CM equivalent";
inline constexpr std::string_view newerThanGemDescription = "Not in the ICD-9-CM mapping (code newer than the mapping)";

struct Procedure {
    std::int32_t id = 0;      // 1..N in the order file's order
    std::string code;
    std::string description;  // the long title
};

struct ProcedureDetail {
    std::size_t procedure = 0;        // index into PcsRows::procedures
    std::optional<std::string> pcs9;  // "02.31", "NoI9", or none for a code newer than the GEM
    std::string pcs9desc;
    std::array<std::string, pcsCodeLength> characters;
};

struct PcsRows {
    std::vector<Procedure> procedures;
    std::vector<ProcedureDetail> details;  // grouped by procedure, in procedure order
};

// Throws SourceError when a code of the order file is missing from the tables
// (naming the order file's line) or an ICD-9-CM code the GEM maps one of the
// codes to has no title (naming the GEM's line).
PcsRows assemblePcsRows(const Release &release);

} // namespace pcsdb
