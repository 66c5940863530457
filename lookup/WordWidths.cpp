#include "lookup/WordWidths.h"

#include <cstring>

namespace lookup {

std::size_t WordWidths::slotOf(std::uint64_t hash) const
{
    // The low bits of FNV-1a follow the low bits of the letters; a
    // multiplicative spread takes the slot from all of them.
    return std::size_t((hash * 0x9E3779B97F4A7C15ull) >> shift_);
}

qreal WordWidths::find(QStringView word, std::uint64_t hash) const
{
    if (slots_.empty())
        return -1;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = slotOf(hash);; i = (i + 1) & mask) {
        const Slot &slot = slots_[i];
        if (slot.length == 0)
            return -1;
        if (slot.hash == hash && slot.length == std::size_t(word.size())
            && std::memcmp(characters_.data() + slot.offset, word.utf16(), slot.length * sizeof(char16_t)) == 0)
            return slot.width;
    }
}

void WordWidths::insert(QStringView word, std::uint64_t hash, qreal width)
{
    if (word.isEmpty())
        return;
    if (used_ >= MaxWords)
        clear();
    if ((used_ + 1) * 2 > slots_.size())
        grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = slotOf(hash);
    while (slots_[i].length != 0)
        i = (i + 1) & mask;
    slots_[i] = Slot{hash, std::uint32_t(characters_.size()), std::uint32_t(word.size()), width};
    characters_.append(reinterpret_cast<const char16_t *>(word.utf16()), std::size_t(word.size()));
    ++used_;
}

void WordWidths::grow()
{
    std::vector<Slot> old;
    old.swap(slots_);
    const std::size_t size = old.empty() ? 1024 : old.size() * 2;
    slots_.assign(size, Slot{});
    shift_ = 64;
    for (std::size_t s = size; s > 1; s >>= 1)
        --shift_;
    const std::size_t mask = size - 1;
    for (const Slot &slot : old) {
        if (slot.length == 0)
            continue;
        std::size_t i = slotOf(slot.hash);
        while (slots_[i].length != 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

void WordWidths::clear()
{
    slots_.clear();
    characters_.clear();
    used_ = 0;
    shift_ = 64;
}

} // namespace lookup
