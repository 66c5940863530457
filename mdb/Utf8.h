#pragma once
// Strict UTF-8 to UTF-16 conversion for everything the writer stores.

#include <cstddef>
#include <string>
#include <string_view>

namespace mdb {

struct Utf8Problem {
    std::size_t byteOffset = 0;  // where decoding stopped
    std::string what;            // empty when the text was fine
    explicit operator bool() const { return !what.empty(); }
};

// Replaces out with the UTF-16 form of text. Overlong forms, encoded
// surrogates, code points past U+10FFFF, truncated sequences and U+0000 (which
// readers would take for the end of the text) are reported, not converted.
Utf8Problem utf8ToUtf16(std::string_view text, std::u16string &out);

} // namespace mdb
