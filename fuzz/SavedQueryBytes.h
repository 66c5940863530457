#pragma once
// A saved query as a fuzz input: the query's object flags (two bytes, little
// endian), then per row its attribute and flag (a byte each) and name1, name2
// and expression, each ended by a zero byte. A short last row takes what is
// there.

#include "platform/db/jet/SavedQuery.h"

#include <string>
#include <string_view>

namespace fuzz {

platform::db::SavedQuery decodeSavedQuery(std::string_view bytes);
std::string encodeSavedQuery(const platform::db::SavedQuery &query);

} // namespace fuzz
