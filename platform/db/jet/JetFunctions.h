#pragma once
#include "platform/db/jet/LayerGuard.h"
// The common Jet functions (IIf, Nz, Left, Mid, Right, Len, Trim, UCase,
// Year, Format, DatePart, CCur, CLng, CStr, ...) in SQLite's terms, given
// their arguments already translated. Aggregates are the parser's business.

#include "platform/db/jet/JetSqlLexer.h"

#include <string>
#include <vector>

namespace platform::db {

struct JetCallArgument {
    std::string sql;                 // the translated argument
    const JetToken *literal = nullptr; // the token when the argument is a lone literal
};

// Throws UntranslatableQuery for a function without an equivalent, a wrong
// number of arguments, or a pattern or interval that is not written out.
std::string translateJetCall(const std::string &name, const std::vector<JetCallArgument> &args);

} // namespace platform::db
