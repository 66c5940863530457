#pragma once
// RC4, which Jet uses to mask part of the file header.

#include <array>
#include <cstddef>
#include <cstdint>

namespace mdb {

class Rc4 {
public:
    Rc4(const std::uint8_t *key, std::size_t keyLength);
    // XORs the next bytes of the keystream into data.
    void apply(std::uint8_t *data, std::size_t length);

private:
    std::array<std::uint8_t, 256> state_{};
    std::uint8_t i_ = 0;
    std::uint8_t j_ = 0;
};

} // namespace mdb
