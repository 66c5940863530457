#include "mdb/TextEncoding.h"

#include <algorithm>

namespace mdb {

namespace {

constexpr std::size_t kCompressionMarkerSize = 2;

bool fitsOneByte(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x01 && c <= 0xFF; });
}

} // namespace

void encodeJetText(std::u16string_view text, bool mayCompress, std::vector<std::uint8_t> &out)
{
    out.clear();
    const bool shorter = kCompressionMarkerSize + text.size() < 2 * text.size();
    if (mayCompress && shorter && fitsOneByte(text)) {
        out.resize(kCompressionMarkerSize + text.size());
        out[0] = 0xFF;
        out[1] = 0xFE;
        std::transform(text.begin(), text.end(), out.begin() + kCompressionMarkerSize,
                       [](char16_t c) { return std::uint8_t(c); });
        return;
    }
    out.resize(2 * text.size());
    std::uint8_t *at = out.data();
    for (char16_t c : text) {
        *at++ = std::uint8_t(c);
        *at++ = std::uint8_t(c >> 8);
    }
}

} // namespace mdb
