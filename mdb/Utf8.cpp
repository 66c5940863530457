#include "mdb/Utf8.h"

#include <cstdint>

namespace mdb {

namespace {

Utf8Problem problemAt(std::size_t offset, const char *what) { return Utf8Problem{offset, what}; }

// Number of continuation bytes and smallest legal code point for a lead byte.
bool describeLead(unsigned char lead, int &continuations, char32_t &minimum, char32_t &bits)
{
    if ((lead & 0xE0) == 0xC0) {
        continuations = 1, minimum = 0x80, bits = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        continuations = 2, minimum = 0x800, bits = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        continuations = 3, minimum = 0x10000, bits = lead & 0x07;
    } else {
        return false;
    }
    return true;
}

} // namespace

Utf8Problem utf8ToUtf16(std::string_view text, std::u16string &out)
{
    // UTF-16 never needs more units than UTF-8 has bytes.
    out.resize(text.size());
    char16_t *written = out.data();
    const auto finish = [&](Utf8Problem problem) {
        out.resize(std::size_t(written - out.data()));
        return problem;
    };
    const std::size_t size = text.size();
    std::size_t at = 0;
    while (at < size) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            if (lead == 0)
                return finish(problemAt(at, "contains a NUL character"));
            *written++ = char16_t(lead);
            ++at;
            continue;
        }
        int continuations = 0;
        char32_t minimum = 0;
        char32_t codePoint = 0;
        if (!describeLead(lead, continuations, minimum, codePoint))
            return finish(problemAt(at, "is not valid UTF-8"));
        if (size - at <= std::size_t(continuations))
            return finish(problemAt(at, "is not valid UTF-8 (truncated sequence)"));
        for (int k = 1; k <= continuations; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            if ((next & 0xC0) != 0x80)
                return finish(problemAt(at, "is not valid UTF-8"));
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return finish(problemAt(at, "is not valid UTF-8"));
        if (codePoint >= 0x10000) {
            const char32_t offset = codePoint - 0x10000;
            *written++ = char16_t(0xD800 + (offset >> 10));
            *written++ = char16_t(0xDC00 + (offset & 0x3FF));
        } else {
            *written++ = char16_t(codePoint);
        }
        at += std::size_t(continuations) + 1;
    }
    return finish({});
}

} // namespace mdb
