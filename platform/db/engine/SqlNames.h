#pragma once
// Names spliced into SQL text: whatever a file calls its tables and columns,
// they stay names.

#include "platform/db/engine/LayerGuard.h"

#include <string>

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

} // namespace platform::db
