#pragma once
// The alphabet of ICD-10-PCS codes: digits and capital letters without I and O,
// which the classification leaves out so they are never mistaken for 1 and 0.

#include <string_view>

namespace pcsdb {

inline constexpr std::string_view pcsAlphabet = "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr int pcsAlphabetSize = static_cast<int>(pcsAlphabet.size());
constexpr int pcsCodeLength = 7;

// 0..33 for a character of the alphabet, -1 for anything else.
int pcsCharacterIndex(char c);
// True when every character of text belongs to the alphabet and it has the given length.
bool isPcsCode(std::string_view text, std::size_t length = pcsCodeLength);

} // namespace pcsdb
