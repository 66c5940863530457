#pragma once
#include "platform/db/jet/LayerGuard.h"
// The saved queries of a Jet file: each query's catalog entry with its rows
// of MSysQueries. A file whose MSysQueries cannot be read still opens; its
// queries then carry the reason and are refused one by one.

#include "platform/db/jet/JetReader.h"
#include "platform/db/jet/SavedQuery.h"

#include <vector>

namespace platform::db {

std::vector<SavedQuery> readSavedQueries(JetFile &file);

} // namespace platform::db
