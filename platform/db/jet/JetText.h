#pragma once
// Decoding of Jet 4 Text and Memo bytes: plain UTF-16LE, or the "compressed"
// form (FF FE, then runs of one-byte Latin-1 characters and two-byte units, a
// 00 byte switching between them). Surrogate pairs come out as one character.

#include "platform/db/jet/LayerGuard.h"

#include <string>
#include <string_view>

namespace platform::db {

// Appends the UTF-8 form of the stored bytes to out. Unpaired surrogates and a
// trailing odd byte become U+FFFD.
void appendJetTextAsUtf8(std::string_view stored, std::string &out);

// Writes cp as UTF-8 at out, which has room for four bytes, and returns the
// position after it.
inline char *putUtf8(char32_t cp, char *out)
{
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

} // namespace platform::db
