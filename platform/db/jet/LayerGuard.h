#pragma once
// Every header of this folder includes this first. Reading Jet files is the
// database libraries' own business: the windows reach it only through
// platform/db/Database.h, and the loaded copy below must not depend on it.
// CMake defines the macro for vorimel_db_jet and whatever links it publicly
// (its tests); vorimel_db links it privately.

#ifndef VORIMEL_DB_JET_VISIBLE
#error "platform/db/jet/ is internal to platform/db: include platform/db/Database.h instead"
#endif
