#include "platform/db/jet/JetText.h"

#include "platform/db/engine/WordBytes.h"

#include <cstring>

namespace platform::db {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Joins UTF-16 units into characters as they arrive.
// Writes into a buffer the caller sized for the worst case: no stored byte
// grows to more than three bytes of UTF-8.
class Utf16Joiner {
public:
    explicit Utf16Joiner(char *out) : out_(out) {}
    char *finish()
    {
        flushPendingHigh();
        return out_;
    }

    void unit(char16_t u)
    {
        if (u >= 0xD800 && u <= 0xDBFF) {
            flushPendingHigh();
            high_ = u;
            return;
        }
        if (u >= 0xDC00 && u <= 0xDFFF) {
            if (high_ != 0) {
                out_ = putUtf8(0x10000 + ((char32_t(high_) - 0xD800) << 10) + (u - 0xDC00), out_);
                high_ = 0;
            } else {
                out_ = putUtf8(kReplacement, out_);
            }
            return;
        }
        flushPendingHigh();
        out_ = putUtf8(u, out_);
    }

    void ascii(char c)
    {
        flushPendingHigh();
        *out_++ = c;
    }

    void asciiRun(const char *from, std::size_t size)
    {
        flushPendingHigh();
        std::memcpy(out_, from, size);
        out_ += size;
    }

    void broken()
    {
        flushPendingHigh();
        out_ = putUtf8(kReplacement, out_);
    }

private:
    void flushPendingHigh()
    {
        if (high_ != 0) [[unlikely]] {
            out_ = putUtf8(kReplacement, out_);
            high_ = 0;
        }
    }

    char *out_;
    char16_t high_ = 0;
};

// The end of the run of bytes from 0x01 to 0x7F that starts at i.
std::size_t asciiRunEnd(std::string_view s, std::size_t i)
{
    using namespace wordbytes;
    for (; i + 8 <= s.size(); i += 8) {
        const std::uint64_t word = load(s.data() + i);
        const std::uint64_t stops = (word & kHighBits) | zeroBytes(word);
        if (stops != 0)
            return i + firstMarked(stops);
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) - 1u < 0x7Fu)
        ++i;
    return i;
}

char16_t unitAt(std::string_view s, std::size_t i)
{
    return static_cast<char16_t>(static_cast<unsigned char>(s[i])
                                 | (static_cast<unsigned char>(s[i + 1]) << 8));
}

void decodePlain(std::string_view s, Utf16Joiner &joiner)
{
    std::size_t i = 0;
    for (; i + 1 < s.size(); i += 2) {
        const char16_t u = unitAt(s, i);
        if (u < 0x80)
            joiner.ascii(static_cast<char>(u));
        else
            joiner.unit(u);
    }
    if (i < s.size())
        joiner.broken();
}

void decodeCompressed(std::string_view s, Utf16Joiner &joiner)
{
    bool oneByte = true;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            // Most stored text is plain ASCII in this mode: it goes over whole.
            const std::size_t end = asciiRunEnd(s, i);
            if (end > i) {
                joiner.asciiRun(s.data() + i, end - i);
                i = end;
                continue;
            }
            joiner.unit(static_cast<unsigned char>(s[i])); // from 0x80 on
            ++i;
        } else if (i + 1 < s.size()) {
            joiner.unit(unitAt(s, i));
            i += 2;
        } else {
            joiner.broken();
            ++i;
        }
    }
}

} // namespace

void appendJetTextAsUtf8(std::string_view stored, std::string &out)
{
    const std::size_t before = out.size();
    out.resize(before + 3 * stored.size() + 4);
    Utf16Joiner joiner(out.data() + before);
    if (stored.size() >= 2 && static_cast<unsigned char>(stored[0]) == 0xFF
        && static_cast<unsigned char>(stored[1]) == 0xFE)
        decodeCompressed(stored.substr(2), joiner);
    else
        decodePlain(stored, joiner);
    out.resize(static_cast<std::size_t>(joiner.finish() - out.data()));
}

} // namespace platform::db
