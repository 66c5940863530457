#pragma once
// Eight bytes of text tested at once, for the scans that run over every stored
// or searched character.

#include "platform/db/engine/LayerGuard.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace platform::db::wordbytes {

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t load(const void *at)
{
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The bytes of word that are zero, each marked by its 0x80 bit and nothing else.
inline std::uint64_t zeroBytes(std::uint64_t word)
{
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// The offset in memory of the first byte marked in a loaded word.
inline unsigned firstMarked(std::uint64_t marks)
{
    if constexpr (std::endian::native == std::endian::little)
        return unsigned(std::countr_zero(marks)) / 8;
    else
        return unsigned(std::countl_zero(marks)) / 8;
}

} // namespace platform::db::wordbytes
