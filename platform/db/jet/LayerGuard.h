#pragma once
// Every header of this folder includes this first. Reading Jet files is the
// database libraries' own business: the windows reach it only through
// platform/db/Database.h, and the loaded copy below must not depend on it.
// CMake defines the macro for every target that links vorimel_db_jet itself
// (vorimel_db, the reader's tests); vorimel_db links privately, so nothing
// above it gets it.

#ifndef VORIMEL_DB_JET_VISIBLE
#error "platform/db/jet/ is internal to platform/db: include platform/db/Database.h instead"
#endif
