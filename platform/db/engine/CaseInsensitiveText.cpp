#include "platform/db/engine/CaseInsensitiveText.h"

#include "platform/db/engine/WordBytes.h"

#include <QChar>

#include <algorithm>
#include <bit>
#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VORIMEL_AVX2_SCAN 1
#endif

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

// Every byte folded as foldAscii does; bytes from 0x80 on stay themselves.
constexpr std::array<unsigned char, 256> kFoldedByte = [] {
    std::array<unsigned char, 256> table{};
    for (unsigned c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c);
    return table;
}();

using wordbytes::kHighBits;
using wordbytes::firstMarked;
using wordbytes::load;
using wordbytes::zeroBytes;

// Bytes at the start of a and b that are the same ASCII characters, taken a
// word at a time; stops short of any word holding a byte from 0x80 on, so the
// position it returns always falls between two characters.
std::size_t sameAsciiPrefix(const char *a, const char *b, std::size_t size)
{
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const std::uint64_t x = load(a + i);
        const std::uint64_t y = load(b + i);
        if (x != y || (x & kHighBits) != 0)
            break;
    }
    return i;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Eight bytes with the 0x20 bit set where that turns both cases of a letter
// into the lower one; no other byte lands on a lower-case letter that way.
std::uint64_t caseBitsFor(unsigned char folded)
{
    return (folded >= 'a' && folded <= 'z') ? 0x2020202020202020ull : 0;
}

#if defined(VORIMEL_AVX2_SCAN)
// Thirty-two positions at a time, on processors with AVX2 (most since 2013;
// the program is built for the baseline that lacks it): where the scan of a
// search spends nearly all its time. Returns the first candidate at or after
// t, or where it stopped: at a block holding a byte beyond ASCII, or too near
// the end for a full block; *found says which.
__attribute__((target("avx2"))) std::size_t candidateByBlocksOf32(const unsigned char *bytes, std::size_t t,
                                                                  std::size_t size, unsigned char first, int second,
                                                                  int other, std::size_t distance, bool *found)
{
    const auto secondByte = static_cast<unsigned char>(second);
    const __m256i secondCase = _mm256_set1_epi8(static_cast<char>(caseBitsFor(secondByte) & 0xFF));
    const __m256i second32 = _mm256_set1_epi8(static_cast<char>(secondByte));
    const auto otherByte = static_cast<unsigned char>(other);
    const __m256i firstCase = _mm256_set1_epi8(static_cast<char>(caseBitsFor(first) & 0xFF));
    const __m256i first32 = _mm256_set1_epi8(static_cast<char>(first));
    const __m256i otherCase = _mm256_set1_epi8(static_cast<char>(caseBitsFor(otherByte) & 0xFF));
    const __m256i other32 = _mm256_set1_epi8(static_cast<char>(otherByte));
    // Bytes one step reads from t.
    const std::size_t reach = std::max(other < 0 ? 0 : distance, std::size_t(second < 0 ? 0 : 1)) + 32;
    *found = false;
    while (t + reach <= size) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(bytes + t));
        if (_mm256_movemask_epi8(block) != 0)
            return t; // a byte beyond ASCII: the steps after this find it
        __m256i hits = _mm256_cmpeq_epi8(_mm256_or_si256(block, firstCase), first32);
        if (other >= 0) {
            const __m256i later = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(bytes + t + distance));
            hits = _mm256_and_si256(hits, _mm256_cmpeq_epi8(_mm256_or_si256(later, otherCase), other32));
        }
        if (second >= 0) {
            const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(bytes + t + 1));
            hits = _mm256_and_si256(hits, _mm256_cmpeq_epi8(_mm256_or_si256(next, secondCase), second32));
        }
        const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        if (mask != 0) {
            *found = true;
            return t + static_cast<std::size_t>(std::countr_zero(mask));
        }
        t += 32;
    }
    return t;
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

// The first position from t on where the text holds `first`, the next byte
// `second` and, `distance` bytes further on, `other` (all folded ASCII; second
// and other may be absent, -1), or a byte beyond ASCII; size if there is none.
// The letters are the first two and the last of the literal run that follows a
// '%': in ordinary words that combination is far rarer than any letter alone
// ("with Aut..." holds the ends of "heart" four apart, not its "he").
// Eight positions are tested at once; only a word holding a byte beyond
// ASCII, and the last few bytes, go byte by byte.
std::size_t nextCandidate(const unsigned char *bytes, std::size_t t, std::size_t size, unsigned char first,
                          int second, int other, std::size_t distance)
{
    const auto secondByte = static_cast<unsigned char>(second);
    const std::uint64_t secondCase = caseBitsFor(secondByte);
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t firstCase = caseBitsFor(first);
    const std::uint64_t firstEverywhere = kOnes * first;
    const auto otherByte = static_cast<unsigned char>(other);
    const std::uint64_t otherCase = caseBitsFor(otherByte);
    const std::uint64_t otherEverywhere = kOnes * otherByte;
    const std::uint64_t secondEverywhere = kOnes * secondByte;
    // Bytes one step reads from t.
    const std::size_t reach = std::max(other < 0 ? 0 : distance, std::size_t(second < 0 ? 0 : 1)) + 8;
    const auto isCandidate = [&](std::size_t at) {
        return kFoldedByte[bytes[at]] == first
               && (second < 0 || (at + 1 < size && kFoldedByte[bytes[at + 1]] == secondByte))
               && (other < 0 || (at + distance < size && kFoldedByte[bytes[at + distance]] == otherByte));
    };
#if defined(VORIMEL_AVX2_SCAN)
    if (kHasAvx2) {
        bool found = false;
        t = candidateByBlocksOf32(bytes, t, size, first, second, other, distance, &found);
        if (found)
            return t;
    }
#endif
#if defined(__SSE2__)
    // Sixteen positions at a time where the processor has the instructions.
    const __m128i firstCase16 = _mm_set1_epi8(static_cast<char>(firstCase & 0xFF));
    const __m128i first16 = _mm_set1_epi8(static_cast<char>(first));
    const __m128i otherCase16 = _mm_set1_epi8(static_cast<char>(otherCase & 0xFF));
    const __m128i other16 = _mm_set1_epi8(static_cast<char>(otherByte));
    const __m128i secondCase16 = _mm_set1_epi8(static_cast<char>(secondCase & 0xFF));
    const __m128i second16 = _mm_set1_epi8(static_cast<char>(secondByte));
    while (t + reach + 8 <= size) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + t));
        if (_mm_movemask_epi8(block) != 0)
            break; // a byte beyond ASCII: the steps below find it
        __m128i hits = _mm_cmpeq_epi8(_mm_or_si128(block, firstCase16), first16);
        if (other >= 0) {
            const __m128i later = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + t + distance));
            hits = _mm_and_si128(hits, _mm_cmpeq_epi8(_mm_or_si128(later, otherCase16), other16));
        }
        if (second >= 0) {
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + t + 1));
            hits = _mm_and_si128(hits, _mm_cmpeq_epi8(_mm_or_si128(next, secondCase16), second16));
        }
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0)
            return t + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
        t += 16;
    }
#endif
    while (t < size) {
        if (t + reach <= size) {
            const std::uint64_t word = load(bytes + t);
            if ((word & kHighBits) == 0) {
                // A zero byte in diff is a position holding the first letter in
                // either case, and the other letter where it belongs.
                std::uint64_t diff = (word | firstCase) ^ firstEverywhere;
                if (other >= 0)
                    diff |= (load(bytes + t + distance) | otherCase) ^ otherEverywhere;
                if (second >= 0)
                    diff |= (load(bytes + t + 1) | secondCase) ^ secondEverywhere;
                const std::uint64_t marks = zeroBytes(diff);
                if (marks != 0)
                    return t + firstMarked(marks);
                t += 8;
                continue;
            }
        }
        const std::size_t end = std::min(t + 8, size);
        for (; t < end; ++t) {
            if (bytes[t] >= 0x80 || isCandidate(t))
                return t;
        }
    }
    return size;
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

// The full rules, from a position that lies between two characters in both.
int compareCharactersFrom(std::string_view a, std::string_view b, std::size_t from)
{
    std::size_t i = from;
    std::size_t j = from;
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

} // namespace

int compareIgnoringCase(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = sameAsciiPrefix(a.data(), b.data(), common); i < common; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if ((ca | cb) >= 0x80)
            return compareCharactersFrom(a, b, i); // everything before i was ASCII
        if (ca != cb && kFoldedByte[ca] != kFoldedByte[cb])
            return kFoldedByte[ca] < kFoldedByte[cb] ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

LikePattern::LikePattern(std::string_view pattern, char32_t escape)
{
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char32_t cp = nextRaw(pattern, i);
        if (escape != 0 && cp == escape && i < pattern.size()) {
            items_.push_back({Item::Literal, nextFolded(pattern, i)});
            asciiLiterals_ = asciiLiterals_ && items_.back().folded < 0x80;
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
            asciiLiterals_ = asciiLiterals_ && folded < 0x80;
        }
    }
}

bool LikePattern::matches(std::string_view text) const
{
    if (asciiLiterals_) {
        const Outcome outcome = matchAscii(text);
        if (outcome != Outcome::NeedsFullRules)
            return outcome == Outcome::Match;
    }
    return matchCharacters(text);
}

bool LikePattern::canSkipAhead() const
{
    return asciiLiterals_ && items_.size() >= 2 && items_[0].kind == Item::AnyRun && items_[1].kind == Item::Literal;
}

std::size_t LikePattern::nextPossibleMatch(std::string_view texts, std::size_t from) const
{
    const std::size_t distance = literalRunFrom(1) - 1;
    return nextCandidate(reinterpret_cast<const unsigned char *>(texts.data()), from, texts.size(),
                         static_cast<unsigned char>(items_[1].folded), distance >= 2 ? int(items_[2].folded) : -1,
                         distance ? int(items_[1 + distance].folded) : -1, distance);
}

std::size_t LikePattern::literalRunFrom(std::size_t p) const
{
    std::size_t end = p;
    while (end < items_.size() && items_[end].kind == Item::Literal)
        ++end;
    return end - p;
}

// Greedy matching that returns to the most recent '%' on a mismatch: at most
// one pass over the text per '%', so no pattern can make it run away. Both
// versions below take the same steps; the byte one gives up as soon as it
// meets a character beyond ASCII, which only the full rules can fold.
LikePattern::Outcome LikePattern::matchAscii(std::string_view text) const
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    const std::size_t size = text.size();
    const std::size_t last = items_.size();
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t runAt = kNone;
    std::size_t runTextAt = 0;
    while (t < size) {
        if (p + 1 == last && items_[p].kind == Item::AnyRun)
            return Outcome::Match; // a final '%' takes whatever is left
        if (runAt != kNone && p == runAt + 1 && p < last && items_[p].kind == Item::Literal) {
            // Right after a '%': every position before the next copy of this
            // letter would only fail and move on, so go straight there.
            const std::size_t distance = literalRunFrom(p) - 1;
            t = nextCandidate(bytes, t, size, static_cast<unsigned char>(items_[p].folded),
                              distance >= 2 ? int(items_[p + 1].folded) : -1,
                              distance ? int(items_[p + distance].folded) : -1, distance);
            runTextAt = t;
            if (t == size)
                break;
        }
        if (bytes[t] >= 0x80)
            return Outcome::NeedsFullRules;
        const unsigned char letter = kFoldedByte[bytes[t]];
        if (p < last && (items_[p].kind == Item::AnyOne || (items_[p].kind == Item::Literal && items_[p].folded == letter))) {
            ++p;
            ++t;
        } else if (p < last && items_[p].kind == Item::AnyRun) {
            runAt = p++;
            runTextAt = t;
        } else if (runAt != kNone) {
            p = runAt + 1;
            t = ++runTextAt;
        } else {
            return Outcome::NoMatch;
        }
    }
    while (p < last && items_[p].kind == Item::AnyRun)
        ++p;
    return p == last ? Outcome::Match : Outcome::NoMatch;
}

bool LikePattern::matchCharacters(std::string_view text) const
{
    const std::size_t last = items_.size();
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t runAt = kNone;
    std::size_t runTextAt = 0;
    while (t < text.size()) {
        if (p + 1 == last && items_[p].kind == Item::AnyRun)
            return true; // a final '%' takes whatever is left
        std::size_t next = t;
        const char32_t letter = nextFolded(text, next);
        if (p < last
            && (items_[p].kind == Item::AnyOne || (items_[p].kind == Item::Literal && items_[p].folded == letter))) {
            ++p;
            t = next;
        } else if (p < last && items_[p].kind == Item::AnyRun) {
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
    while (p < last && items_[p].kind == Item::AnyRun)
        ++p;
    return p == last;
}

} // namespace platform::db
