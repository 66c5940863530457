#pragma once
// Page 0 of a Jet 4 file.

#include <array>
#include <cstdint>

#include "mdb/JetFormat.h"

namespace mdb {

using Page = std::array<std::uint8_t, jet::kPageSize>;

// The header page of an unencrypted, password-less Jet 4 database. The block at
// 0x18 is RC4-masked as readers expect; its page-encryption key decrypts to 0.
Page buildFileHeaderPage();

// The key Jet masks the header block with.
constexpr std::array<std::uint8_t, 4> kHeaderMaskKey{0xC7, 0xDA, 0x39, 0x6B};

} // namespace mdb
