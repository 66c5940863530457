#pragma once
// Little-endian stores, the only byte order Jet files use.

#include <cstdint>
#include <vector>

namespace mdb {

inline void storeU16(std::uint8_t *at, std::uint16_t v)
{
    at[0] = std::uint8_t(v);
    at[1] = std::uint8_t(v >> 8);
}

inline void storeU32(std::uint8_t *at, std::uint32_t v)
{
    at[0] = std::uint8_t(v);
    at[1] = std::uint8_t(v >> 8);
    at[2] = std::uint8_t(v >> 16);
    at[3] = std::uint8_t(v >> 24);
}

inline void appendU8(std::vector<std::uint8_t> &out, std::uint8_t v) { out.push_back(v); }

inline void appendU16(std::vector<std::uint8_t> &out, std::uint16_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

inline void appendU32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    appendU16(out, std::uint16_t(v));
    appendU16(out, std::uint16_t(v >> 16));
}

// resize rather than insert: g++ 12 at -O3 misreads insert(end, n, 0) on a
// one-byte vector as an out-of-bounds copy and warns.
inline void appendZeros(std::vector<std::uint8_t> &out, std::size_t count) { out.resize(out.size() + count); }

} // namespace mdb
