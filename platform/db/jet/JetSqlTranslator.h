#pragma once
#include "platform/db/jet/LayerGuard.h"
// Turns Jet SQL (the expressions of a saved query, or a whole statement as a
// union query keeps it) into SQLite's dialect over the loaded copy: brackets
// become quoted names, either kind of quoted text a string, #dates# the text
// dates are kept as, '&' a Null-blind concatenation, '/' a division that keeps
// fractions, and the common Jet functions their SQLite equivalents. Operators
// are regrouped with explicit parentheses, since '&' binds far more loosely in
// Jet than '||' does in SQLite. Anything without a faithful equivalent throws
// UntranslatableQuery naming the construct.

#include "platform/db/jet/JetSqlLexer.h"

#include <set>
#include <string>
#include <string_view>

namespace platform::db {

// Deeper nesting, or longer chains of operators, are refused: no query
// written by hand comes near, and SQLite's own parser and expression limits
// (1000 levels) would refuse the translation anyway.
inline constexpr int kDeepestNesting = 100;
inline constexpr int kTallestExpression = 1000;

struct TranslatedExpression {
    std::string sql;
    int height = 0;                  // operations from its root to its deepest operand
    bool aggregate = false;          // calls Sum, Count, ... outside a subquery
    bool unqualifiedColumn = false;  // names a column without its table
    std::set<std::string> qualifiers; // the tables (or aliases) its columns name, in lower case
    // For a bare column reference, the column and the table it was written with.
    std::string column;
    std::string columnQualifier;
};

TranslatedExpression translateJetExpression(std::string_view jetText);

// A complete SELECT (with UNION, ORDER BY and so on) as Jet keeps it.
std::string translateJetSelect(std::string_view jetText);

// A date as Jet writes it between '#' (m/d/y with an optional time, or
// y-m-d), in the text form the loaded copy keeps dates in.
std::string jetDateLiteralToText(std::string_view literal);

} // namespace platform::db
