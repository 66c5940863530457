#pragma once
// Small helpers for the fixed-width fields of the CMS text files.

#include <cstddef>
#include <string_view>

namespace pcsdb {

// The longest text a Text column of the database holds.
constexpr std::size_t maxTextColumnLength = 255;

std::string_view withoutTrailingBlanks(std::string_view text);
bool isAllDigits(std::string_view text);

} // namespace pcsdb
