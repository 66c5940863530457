#pragma once
// The loader reads files it cannot trust with C code (libmdb) that trusts
// them. Once it holds what it was given, it gives up the rest of the system:
// whatever a damaged or hostile file makes that code do, it can neither open
// a file, nor reach the network, nor start a program. Refused calls fail with
// EPERM, so a fooled reader ends in an ordinary failure, not a killed loader.

#include "platform/db/jet/LayerGuard.h"

#include <string_view>

namespace platform::db::loader {

// Things the reader will need later that the system hands out from files:
// done while files can still be opened. fileBytes is only looked at, not parsed
// beyond its header's code page.
void prepareForConfinement(std::string_view fileBytes);

// Applies the confinement to this process (every thread it starts later
// inherits it). Throws std::runtime_error when the system refuses the filter:
// an unconfined loader does not read.
void confine();

} // namespace platform::db::loader
