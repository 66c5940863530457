#pragma once
// Every header of this folder includes this first. The loaded copy is the
// database libraries' own business: the windows reach it only through
// platform/db/Database.h, so that it can change without touching them. CMake
// defines the macro for vorimel_db_engine and whatever links it publicly (the
// Jet reader, the database tests), never for the libraries above platform/db.

#ifndef VORIMEL_DB_ENGINE_VISIBLE
#error "platform/db/engine/ is internal to platform/db: include platform/db/Database.h instead"
#endif
