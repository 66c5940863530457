#pragma once
#include "platform/db/jet/LayerGuard.h"
// A saved query as a Jet file keeps it: its name, the type bits of its
// catalog entry, and its rows of MSysQueries, each one clause or part of one
// (a table, a column, a join, the WHERE text, ...), in the order kept.
// toSqliteSelect rebuilds the query as one SQLite SELECT over the loaded copy.

#include <string>
#include <vector>

namespace platform::db {

struct SavedQueryRow {
    enum Attribute {
        Type = 1, Parameter = 2, Flags = 3, RemoteDatabase = 4, Table = 5, Column = 6, Join = 7, Where = 8,
        GroupBy = 9, Having = 10, OrderBy = 11
    };
    int attribute = 0;
    int flag = 0;
    std::string name1, name2, expression;
};

struct SavedQuery {
    std::string name;
    int objectFlags = 0; // the catalog entry's Flags, whose high nibble is the query's type
    std::vector<SavedQueryRow> rows;
    std::string damage; // why its rows could not be read; empty when they could
};

// Throws UntranslatableQuery naming what has no faithful equivalent: a query
// that changes data or defines tables, a crosstab, pass-through or parameter
// query, a table in another database, an unknown function, ...
std::string toSqliteSelect(const SavedQuery &query);

} // namespace platform::db
