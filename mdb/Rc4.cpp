#include "mdb/Rc4.h"

#include <utility>

namespace mdb {

Rc4::Rc4(const std::uint8_t *key, std::size_t keyLength)
{
    for (std::size_t n = 0; n < state_.size(); ++n)
        state_[n] = std::uint8_t(n);
    std::uint8_t j = 0;
    for (std::size_t n = 0; n < state_.size(); ++n) {
        j = std::uint8_t(j + state_[n] + key[n % keyLength]);
        std::swap(state_[n], state_[j]);
    }
}

void Rc4::apply(std::uint8_t *data, std::size_t length)
{
    for (std::size_t n = 0; n < length; ++n) {
        i_ = std::uint8_t(i_ + 1);
        j_ = std::uint8_t(j_ + state_[i_]);
        std::swap(state_[i_], state_[j_]);
        data[n] ^= state_[std::uint8_t(state_[i_] + state_[j_])];
    }
}

} // namespace mdb
