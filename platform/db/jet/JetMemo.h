#pragma once
// Collects the stored bytes of one Memo value: inline in the row, in one long
// value (LVAL) row, or in a chain of them. Every pointer is checked, so a
// damaged chain ends in JetDamage rather than a loop or a read out of bounds.

#include "platform/db/jet/LayerGuard.h"

#include <glib.h> // before mdbtools.h, which wraps its own include in extern "C"
#include <mdbtools.h>

#include <string>
#include <string_view>

namespace platform::db {

// field: the 12-byte memo header followed by any inline data. pageCount bounds
// how long a chain can honestly be.
std::string readMemoBytes(MdbHandle *mdb, std::string_view field, std::size_t pageCount);

} // namespace platform::db
