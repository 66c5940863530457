#pragma once
// What Jet accepts as a table or column name.

#include <string>
#include <string_view>

namespace mdb {

// Converts a UTF-8 name to UTF-16, or describes why Jet would not accept it:
// empty, longer than 64 characters, leading space, control characters or one
// of . ! ` [ ] (which also keeps names safe inside [bracketed] SQL), or a
// leading U+FEFF (a reader would take it for the mark of compressed text).
// Returns an empty string when the name is fine.
std::string checkObjectName(std::string_view name, std::u16string &utf16);

// A key under which names that differ only in letter case compare equal, as
// they do for Jet and for libmdb's look-ups.
std::u16string nameKey(std::u16string_view utf16);

} // namespace mdb
