#include "platform/db/JetText.h"

namespace platform::db {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(char32_t cp, std::string &out)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Joins UTF-16 units into characters as they arrive.
class Utf16Joiner {
public:
    explicit Utf16Joiner(std::string &out) : out_(out) {}
    ~Utf16Joiner() { flushPendingHigh(); }

    void unit(char16_t u)
    {
        if (u >= 0xD800 && u <= 0xDBFF) {
            flushPendingHigh();
            high_ = u;
            return;
        }
        if (u >= 0xDC00 && u <= 0xDFFF) {
            if (high_ != 0) {
                appendUtf8(0x10000 + ((char32_t(high_) - 0xD800) << 10) + (u - 0xDC00), out_);
                high_ = 0;
            } else {
                appendUtf8(kReplacement, out_);
            }
            return;
        }
        flushPendingHigh();
        appendUtf8(u, out_);
    }

    void broken()
    {
        flushPendingHigh();
        appendUtf8(kReplacement, out_);
    }

private:
    void flushPendingHigh()
    {
        if (high_ != 0) {
            appendUtf8(kReplacement, out_);
            high_ = 0;
        }
    }

    std::string &out_;
    char16_t high_ = 0;
};

char16_t unitAt(std::string_view s, std::size_t i)
{
    return static_cast<char16_t>(static_cast<unsigned char>(s[i])
                                 | (static_cast<unsigned char>(s[i + 1]) << 8));
}

void decodePlain(std::string_view s, Utf16Joiner &joiner)
{
    std::size_t i = 0;
    for (; i + 1 < s.size(); i += 2)
        joiner.unit(unitAt(s, i));
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
            joiner.unit(static_cast<unsigned char>(s[i]));
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
    Utf16Joiner joiner(out);
    if (stored.size() >= 2 && static_cast<unsigned char>(stored[0]) == 0xFF
        && static_cast<unsigned char>(stored[1]) == 0xFE)
        decodeCompressed(stored.substr(2), joiner);
    else
        decodePlain(stored, joiner);
}

} // namespace platform::db
