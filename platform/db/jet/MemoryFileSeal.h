#pragma once
// Sealing a memory file against every change. The kernel refuses the seal
// with EBUSY while any of the file's pages carries a reference it cannot
// account for: a writable mapping being torn down, or pages still waiting in
// another processor's per-CPU batch after the process that wrote them ended.
// Both pass; a good file must not be turned away for them.

#include "platform/db/jet/LayerGuard.h"

namespace platform::db {

// Adds the shrink, grow, write and seal seals. Returns 0 or the errno of the
// last refusal.
int sealAgainstChange(int memoryFile);

} // namespace platform::db
