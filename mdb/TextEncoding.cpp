#include "mdb/TextEncoding.h"

#include <algorithm>

namespace mdb {

namespace {

constexpr std::size_t kCompressionMarkerSize = 2;

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr std::uint8_t kModeSwitch = 0x00;

bool fitsOneByte(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x01 && c <= 0xFF; });
}

bool hasZeroLowByte(std::u16string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return (c & 0xFF) == 0; });
}

std::uint8_t *appendMarker(std::vector<std::uint8_t> &out, std::size_t payload)
{
    out.resize(kCompressionMarkerSize + payload);
    out[0] = 0xFF;
    out[1] = 0xFE;
    return out.data() + kCompressionMarkerSize;
}

std::uint8_t *appendUcs2(std::uint8_t *at, std::u16string_view text)
{
    for (char16_t c : text) {
        *at++ = std::uint8_t(c);
        *at++ = std::uint8_t(c >> 8);
    }
    return at;
}

} // namespace

bool encodeJetText(std::u16string_view text, bool mayCompress, std::vector<std::uint8_t> &out)
{
    out.clear();
    if (!text.empty() && text.front() == kByteOrderMark) {
        if (hasZeroLowByte(text))
            return false;
        std::uint8_t *at = appendMarker(out, 1 + 2 * text.size());
        *at++ = kModeSwitch;
        appendUcs2(at, text);
        return true;
    }
    const bool shorter = kCompressionMarkerSize + text.size() < 2 * text.size();
    if (mayCompress && shorter && fitsOneByte(text)) {
        std::transform(text.begin(), text.end(), appendMarker(out, text.size()),
                       [](char16_t c) { return std::uint8_t(c); });
        return true;
    }
    out.resize(2 * text.size());
    appendUcs2(out.data(), text);
    return true;
}

} // namespace mdb
