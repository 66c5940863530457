#include "platform/db/CaseInsensitiveText.h"

#include <QChar>

namespace platform::db {
namespace {

// Bytes that are not valid UTF-8 map here, one code point per byte, so that
// they compare equal only to themselves.
constexpr char32_t kInvalidByteBase = 0x110000;

char32_t decodeMultiByte(std::string_view s, std::size_t &i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++i;
        return kInvalidByteBase + lead;
    }
    if (i + extra >= s.size()) {
        ++i;
        return kInvalidByteBase + lead;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kInvalidByteBase + lead;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kInvalidByteBase + lead;
    }
    i += extra + 1;
    return cp;
}

inline char32_t foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

// The next character of s from byte i on; i moves past it.
inline char32_t nextRaw(std::string_view s, std::size_t &i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    return decodeMultiByte(s, i);
}

inline char32_t fold(char32_t cp)
{
    if (cp < 0x80)
        return foldAscii(static_cast<unsigned char>(cp));
    return cp >= kInvalidByteBase ? cp : QChar::toCaseFolded(cp);
}

inline char32_t nextFolded(std::string_view s, std::size_t &i)
{
    return fold(nextRaw(s, i));
}

} // namespace

int compareIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if ((ca | cb) < 0x80) {
            if (ca != cb && foldAscii(ca) != foldAscii(cb))
                return foldAscii(ca) < foldAscii(cb) ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        const char32_t x = nextFolded(a, i);
        const char32_t y = nextFolded(b, j);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

LikePattern::LikePattern(std::string_view pattern, char32_t escape)
{
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char32_t cp = nextRaw(pattern, i);
        if (escape != 0 && cp == escape && i < pattern.size()) {
            items_.push_back({Item::Literal, nextFolded(pattern, i)});
            continue;
        }
        const char32_t folded = fold(cp);
        if (folded == '%') {
            if (items_.empty() || items_.back().kind != Item::AnyRun)
                items_.push_back({Item::AnyRun, 0});
        } else if (folded == '_') {
            items_.push_back({Item::AnyOne, 0});
        } else {
            items_.push_back({Item::Literal, folded});
        }
    }
}

bool LikePattern::matches(std::string_view text) const
{
    // Greedy matching that returns to the most recent '%' on a mismatch: at most
    // one pass over the text per '%', so no pattern can make it run away.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t runAt = kNone;
    std::size_t runTextAt = 0;
    while (t < text.size()) {
        std::size_t next = t;
        const char32_t letter = nextFolded(text, next);
        if (p < items_.size()
            && (items_[p].kind == Item::AnyOne || (items_[p].kind == Item::Literal && items_[p].folded == letter))) {
            ++p;
            t = next;
        } else if (p < items_.size() && items_[p].kind == Item::AnyRun) {
            runAt = p++;
            runTextAt = t;
        } else if (runAt != kNone) {
            p = runAt + 1;
            nextFolded(text, runTextAt);
            t = runTextAt;
        } else {
            return false;
        }
    }
    while (p < items_.size() && items_[p].kind == Item::AnyRun)
        ++p;
    return p == items_.size();
}

} // namespace platform::db
