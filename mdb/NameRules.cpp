#include "mdb/NameRules.h"

#include <algorithm>

#include "mdb/JetFormat.h"
#include "mdb/Utf8.h"

namespace mdb {

namespace {

bool isForbidden(char16_t c)
{
    return c < 0x20 || c == 0x7F || c == u'.' || c == u'!' || c == u'`' || c == u'[' || c == u']';
}

} // namespace

std::string checkObjectName(std::string_view name, std::u16string &utf16)
{
    if (name.empty())
        return "is empty";
    if (Utf8Problem problem = utf8ToUtf16(name, utf16))
        return problem.what;
    if (utf16.size() > jet::kMaxNameLength)
        return "is longer than " + std::to_string(jet::kMaxNameLength) + " characters";
    if (utf16.front() == u' ')
        return "starts with a space";
    // Stored plainly, it would begin with the compressed-text mark "FF FE".
    if (utf16.front() == 0xFEFF)
        return "starts with U+FEFF";
    if (std::any_of(utf16.begin(), utf16.end(), isForbidden))
        return "contains a control character or one of . ! ` [ ]";
    return {};
}

std::u16string nameKey(std::u16string_view utf16)
{
    std::u16string key(utf16);
    for (char16_t &c : key) {
        // ASCII and Latin-1 letters; other scripts compare exactly.
        const bool upperLatin1 = (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        if ((c >= u'A' && c <= u'Z') || upperLatin1)
            c = char16_t(c + 0x20);
    }
    return key;
}

} // namespace mdb
