#pragma once
// Names and texts spliced into SQL text: whatever a file calls its tables and
// columns, they stay names, and whatever a text holds, it stays one literal.
// SQL keywords and names compare without regard to case, in ASCII.

#include "platform/db/engine/LayerGuard.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace platform::db {

inline std::string quotedName(const std::string &name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

inline std::string quotedText(std::string_view value)
{
    std::string out = "'";
    for (char c : value) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    return out + '\'';
}

inline std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

} // namespace platform::db
