#pragma once
// Every header of this folder includes this first. The loaded copy is the
// database libraries' own business: the windows reach it only through
// platform/db/Database.h, so that it can change without touching them. CMake
// defines the macro for every target that links vorimel_db_engine itself, or
// through a library that links it publicly (the Jet reader, vorimel_db, the
// database tests); vorimel_db links privately, so nothing above it gets it.

#ifndef VORIMEL_DB_ENGINE_VISIBLE
#error "platform/db/engine/ is internal to platform/db: include platform/db/Database.h instead"
#endif
