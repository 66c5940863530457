#pragma once
#include "platform/db/engine/LayerGuard.h"
// The saved queries a loaded copy could not offer, with the reason, kept in a
// table of the copy whose name no Jet object can have (Jet names hold no '.').

#include <sqlite3.h>

#include <optional>
#include <string>

namespace platform::db {

inline constexpr const char *kUntranslatedQueries = "vorimel.untranslated queries";

// The reason the saved query name (letter case ignored) was left out, or
// nullopt when no such query was left out.
std::optional<std::string> whyQueryIsMissing(sqlite3 *db, const std::string &name);

} // namespace platform::db
