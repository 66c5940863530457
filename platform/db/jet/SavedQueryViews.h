#pragma once
#include "platform/db/jet/LayerGuard.h"
// Each saved select query of the file becomes a view of the loaded copy, so
// that a statement names it as it names a table. Queries that read other
// queries are made once those exist. A query that cannot be made into a view
// is left out and listed, with the reason, in kUntranslatedQueries; a
// statement that names it is told why (see UntranslatedQueries.h). The
// columns their joins compare get an index.

#include "platform/db/jet/SavedQuery.h"

#include <sqlite3.h>

#include <functional>
#include <vector>

namespace platform::db {

// stillAlive, when given, is called before each query is translated or made.
void addSavedQueryViews(sqlite3 *db, const std::vector<SavedQuery> &queries,
                        const std::function<void()> &stillAlive = {});

} // namespace platform::db
