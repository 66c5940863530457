#include "platform/db/CaseInsensitiveText.h"

#include <QChar>

#include <vector>

namespace platform::db {
namespace {

// Bytes that are not valid UTF-8 map here, one code point per byte, so that
// they compare equal only to themselves.
constexpr char32_t kInvalidByteBase = 0x110000;

char32_t decodeNext(std::string_view s, std::size_t &i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
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

char32_t fold(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + ('a' - 'A') : cp;
    if (cp >= kInvalidByteBase)
        return cp;
    return QChar::toCaseFolded(cp);
}

char32_t nextFolded(std::string_view s, std::size_t &i)
{
    return fold(decodeNext(s, i));
}

struct PatternItem {
    enum Kind { AnyRun, AnyOne, Literal } kind;
    char32_t folded;
};

void compilePattern(std::string_view pattern, char32_t escape, std::vector<PatternItem> &out)
{
    out.clear();
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char32_t cp = decodeNext(pattern, i);
        if (escape != 0 && cp == escape && i < pattern.size()) {
            out.push_back({PatternItem::Literal, nextFolded(pattern, i)});
        } else if (cp == '%') {
            if (out.empty() || out.back().kind != PatternItem::AnyRun)
                out.push_back({PatternItem::AnyRun, 0});
        } else if (cp == '_') {
            out.push_back({PatternItem::AnyOne, 0});
        } else {
            out.push_back({PatternItem::Literal, fold(cp)});
        }
    }
}

} // namespace

int compareIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
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

bool likeMatches(std::string_view pattern, std::string_view text, char32_t escape)
{
    thread_local std::vector<PatternItem> items;
    thread_local std::vector<char32_t> letters;
    compilePattern(pattern, escape, items);
    letters.clear();
    for (std::size_t i = 0; i < text.size();)
        letters.push_back(nextFolded(text, i));

    // Greedy matching that returns to the most recent '%' on a mismatch: linear
    // in the text for each '%', so no pattern can make it run away.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t runAt = kNone;
    std::size_t runTextAt = 0;
    while (t < letters.size()) {
        if (p < items.size() && (items[p].kind == PatternItem::AnyOne
                                 || (items[p].kind == PatternItem::Literal
                                     && items[p].folded == letters[t]))) {
            ++p;
            ++t;
        } else if (p < items.size() && items[p].kind == PatternItem::AnyRun) {
            runAt = p++;
            runTextAt = t;
        } else if (runAt != kNone) {
            p = runAt + 1;
            t = ++runTextAt;
        } else {
            return false;
        }
    }
    while (p < items.size() && items[p].kind == PatternItem::AnyRun)
        ++p;
    return p == items.size();
}

} // namespace platform::db
