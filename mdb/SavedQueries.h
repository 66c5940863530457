#pragma once
// MSysQueries, where Access keeps saved queries: one row per clause or part
// of a clause, framed by a start row (attribute 0) and an end row (255).

#include <cstdint>
#include <vector>

#include "mdb/JetWriter.h"
#include "mdb/TableLayout.h"

namespace mdb {

constexpr const char *kQueriesName = "MSysQueries";

TableLayout queriesLayout();

// The rows of one select query; objectId is its catalog entry's Id.
std::vector<std::vector<Value>> selectQueryRows(const SavedSelectQuery &query, std::int32_t objectId);

// Throws WriterError for a query that cannot be stored.
void checkSelectQuery(const SavedSelectQuery &query);

} // namespace mdb
