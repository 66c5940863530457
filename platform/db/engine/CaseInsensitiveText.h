#pragma once
// Text comparison the way the Jet engine treats letters: upper and lower case
// are the same letter, for every script and not only for ASCII. Texts are UTF-8;
// a byte that is not part of valid UTF-8 stands for itself.

#include "platform/db/engine/LayerGuard.h"

#include <string_view>
#include <vector>

namespace platform::db {

// Negative, zero or positive as a sorts before, with or after b.
int compareIgnoringCase(std::string_view a, std::string_view b);

// A LIKE pattern: '%' stands for any run of characters, '_' for exactly one,
// every other character for itself in either case. A character after `escape`
// (0: none) stands for itself even if it is a wildcard.
class LikePattern {
public:
    explicit LikePattern(std::string_view pattern, char32_t escape = 0);
    bool matches(std::string_view text) const;

    // For texts laid end to end: a pattern that starts with '%' and a letter
    // needs its first run of letters somewhere in a matching text (or a
    // character beyond ASCII, which only the full rules can judge). Returns
    // the first position from `from` on where that may be, texts.size() if
    // nowhere: no text lying wholly before it can match. Only for patterns
    // that canSkipAhead().
    bool canSkipAhead() const;
    std::size_t nextPossibleMatch(std::string_view texts, std::size_t from) const;

private:
    enum class Outcome { NoMatch, Match, NeedsFullRules };
    // The same matching on bytes, while every character it meets is ASCII.
    Outcome matchAscii(std::string_view text) const;
    bool matchCharacters(std::string_view text) const;
    std::size_t literalRunFrom(std::size_t item) const; // letters in a row from there

    struct Item {
        enum Kind { AnyRun, AnyOne, Literal } kind;
        char32_t folded;
    };
    std::vector<Item> items_;
    bool asciiLiterals_ = true; // every literal folds to an ASCII letter
};

inline bool likeMatches(std::string_view pattern, std::string_view text, char32_t escape = 0)
{
    return LikePattern(pattern, escape).matches(text);
}

} // namespace platform::db
