#include "tools/Latin1.h"

namespace pcsdb {

std::string latin1ToUtf8(std::string_view latin1)
{
    std::string utf8;
    utf8.reserve(latin1.size());
    for (char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xc0 | (byte >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3f)));
        }
    }
    return utf8;
}

} // namespace pcsdb
