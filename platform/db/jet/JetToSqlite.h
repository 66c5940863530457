#pragma once
// Copies every user table of a Jet file into a fresh SQLite database: text
// columns compare without regard to case (COLLATE NOCASE), numbers stay numbers.
// All in one transaction with one prepared insert per table. Saved select
// queries become views (SavedQueryViews.h).

#include "platform/db/jet/LayerGuard.h"

#include "platform/db/engine/SqliteHandle.h"

#include <functional>
#include <span>
#include <string_view>

namespace platform::db {

// Throws JetDamage for a file that does not add up, std::runtime_error when
// SQLite refuses what the file holds (a reserved or repeated name, say).
// stillAlive is called every few hundred rows. With storage, the copy is
// built in that memory (its pages from the start, with SQLITE_FULL once they
// would not fit); storage must outlive the connection returned.
SqliteHandle copyJetFileToSqlite(std::string_view fileBytes, const std::function<void()> &stillAlive,
                                 std::span<unsigned char> storage = {});

} // namespace platform::db
