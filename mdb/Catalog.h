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

} // namespace mdb
