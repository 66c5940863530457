#pragma once
// Text comparison the way the Jet engine treats letters: upper and lower case
// are the same letter, for every script and not only for ASCII. Texts are UTF-8;
// a byte that is not part of valid UTF-8 stands for itself.

#include <string_view>

namespace platform::db {

// Negative, zero or positive as a sorts before, with or after b.
int compareIgnoringCase(std::string_view a, std::string_view b);

// True when text matches the LIKE pattern: '%' stands for any run of characters,
// '_' for exactly one, every other character for itself in either case. A
// character after `escape` (0: none) stands for itself even if it is a wildcard.
bool likeMatches(std::string_view pattern, std::string_view text, char32_t escape = 0);

} // namespace platform::db
