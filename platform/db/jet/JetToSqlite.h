#pragma once
// Copies every user table of a Jet file into a fresh SQLite database: text
// columns compare without regard to case (COLLATE NOCASE), numbers stay numbers.
// All in one transaction with one prepared insert per table. Saved select
// queries become views (SavedQueryViews.h).

#include "platform/db/jet/LayerGuard.h"

#include "platform/db/engine/SqliteHandle.h"

#include <functional>
#include <string_view>

namespace platform::db {

// Throws JetDamage for a file that does not add up, std::runtime_error when
// SQLite refuses what the file holds (a reserved or repeated name, say).
// stillAlive is called every few hundred rows.
SqliteHandle copyJetFileToSqlite(std::string_view fileBytes, const std::function<void()> &stillAlive);

} // namespace platform::db
