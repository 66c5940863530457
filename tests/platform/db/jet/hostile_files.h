#pragma once
// pcs.mdb files written to attack the program through their saved queries,
// as anyone could write them: statements smuggled out of a query's text
// (each one ATTACHes a new file named pwned... in the folder given, one of
// them in the current folder), a query nested or chained far beyond anything Access
// writes, and a longpcs whose search needs unbounded memory. Each also holds
// a table of procedures whose "Bypass" rows longpcs shows.

#include <string>
#include <vector>

namespace hostile {

struct InjectingQuery {
    std::string name;
    bool becomesView; // false: refused, with a reason
    std::string value; // the first row's value, as Jet gives it; empty: not checked
};

// Returns the saved queries besides longpcs, and whether each must stand.
std::vector<InjectingQuery> writeInjectingFile(const std::string &path, const std::string &targetFolder);

// Queries "deep" (60,000 parentheses), "huge" (200,000) and "chain"
// (5,000 additions); longpcs is a table.
void writeDeepFile(const std::string &path);

// longpcs is a saved query over four tables of 300 rows without a join.
void writeCrossJoinFile(const std::string &path);

inline constexpr int kBypassRows = 2;

} // namespace hostile
