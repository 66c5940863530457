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

// The text between two quote characters, each quote inside it doubled.
inline std::string enclosed(std::string_view text, char quote)
{
    std::string out(1, quote);
    for (char c : text) {
        if (c == quote)
            out += quote;
        out += c;
    }
    return out + quote;
}

inline std::string quotedName(const std::string &name)
{
    return enclosed(name, '"');
}

inline std::string quotedText(std::string_view value)
{
    return enclosed(value, '\'');
}

inline std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

} // namespace platform::db
