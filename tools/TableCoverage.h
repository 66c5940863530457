#pragma once
// The order file and the tables must describe the same codes: a table row that
// allows a code the order file lacks would offer coders a code that does not
// exist.

namespace pcsdb {

struct Release;

// Throws SourceError naming the row (in the tables file) and the first code it
// allows that the order file does not hold. The other direction, every ordered
// code in exactly one row, is checked as the rows are assembled.
void checkTableCodesAreOrdered(const Release &release);

} // namespace pcsdb
