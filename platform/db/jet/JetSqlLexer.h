#pragma once
#include "platform/db/jet/LayerGuard.h"
// Splits the text of a saved query's expression (or of a whole statement kept
// in the file, as union queries keep theirs) into tokens of the Jet dialect:
// names bare or in brackets, strings in either kind of quotes, dates between
// '#', numbers and operators.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform::db {

// Why a saved query cannot be made into a view; the text names the construct.
class UntranslatableQuery : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct JetToken {
    enum Kind { Name, BracketedName, String, Date, Number, Symbol, End };
    Kind kind = End;
    std::string text; // a name without brackets, a string without quotes, a symbol as written
};

// Access keeps a query's SQL to about 64,000 characters, each at most three
// bytes in UTF-8; longer text comes from no Access and is refused unread.
inline constexpr std::size_t kLongestJetSql = 3 * 65536;

// Throws UntranslatableQuery for text that is not made of Jet tokens, or
// longer than kLongestJetSql.
std::vector<JetToken> tokenizeJetSql(std::string_view text);

} // namespace platform::db
