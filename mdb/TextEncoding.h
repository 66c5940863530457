#pragma once
// The two storage forms of Jet 4 text: plain UCS-2LE, or "FF FE" followed by
// one byte per character ("unicode compression").

#include <cstdint>
#include <string_view>
#include <vector>

namespace mdb {

// Memo values longer than this many characters are stored uncompressed, as
// Access does.
constexpr std::size_t kMaxCompressedMemoLength = 1024;

// Replaces out with the stored form of text. Compresses only when allowed,
// when every character lies in U+0001..U+00FF (characters such as U+0100 have a
// zero low byte that would read as a mode switch) and when it saves space.
// Empty text stays empty: a lone "FF FE" would read back as U+FEFF.
//
// Text that starts with U+FEFF would begin with "FF FE" in plain form and be
// taken for compressed text, so it is always stored compressed, switched at
// once to two bytes per character. That cannot hold a character with a zero
// low byte; for such text the function returns false and leaves out empty.
bool encodeJetText(std::u16string_view text, bool mayCompress, std::vector<std::uint8_t> &out);

} // namespace mdb
