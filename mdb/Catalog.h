#pragma once
// MSysObjects, the catalog through which readers find the user tables.

#include <cstdint>
#include <string>
#include <vector>

#include "mdb/JetWriter.h"
#include "mdb/TableLayout.h"

namespace mdb {

constexpr const char *kCatalogName = "MSysObjects";

// Access's column layout. Readers need Id, Name, Type and Flags spelt exactly
// so, and libmdb refuses a catalog without LvProp.
TableLayout catalogLayout();

// The catalog row of a user table; columns not listed stay Null.
std::vector<Value> catalogRow(const std::string &tableName, std::uint32_t definitionPage);
// The same for a system table (MSys...), which readers leave out of the user's tables.
std::vector<Value> systemCatalogRow(const std::string &tableName, std::uint32_t definitionPage);
// The catalog row of a saved select query.
std::vector<Value> queryCatalogRow(const std::string &queryName, std::int32_t objectId);

} // namespace mdb
