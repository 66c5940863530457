#pragma once
// Names and texts spliced into SQL text: whatever a file calls its tables and
// columns, they stay names, and whatever a text holds, it stays one literal.
// SQL keywords and names compare without regard to case, in ASCII.

#include "platform/db/engine/LayerGuard.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform::db {

// A name or text that no quoting keeps whole: SQLite reads statement text
// only up to a zero byte.
class UnquotableText : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text between two quote characters, each quote inside it doubled. Every
// name and literal spliced into SQL text goes through here.
inline std::string enclosed(std::string_view text, char quote)
{
    if (text.find('\0') != std::string_view::npos)
        throw UnquotableText("a name or text holding a zero character");
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
