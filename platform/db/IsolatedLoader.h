#pragma once
// libmdb trusts the files it reads: a damaged file can make it crash or loop.
// The copy into SQLite is therefore made in a child process, which hands the
// finished database over a pipe (sqlite3_serialize) and beats a heartbeat
// while it works. A child that crashes, or stops beating for stallLimit, is a
// failed load, never a failed program.

#include "platform/db/SqliteHandle.h"

#include <chrono>
#include <stdexcept>
#include <string_view>

namespace platform::db {

class LoadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::chrono::milliseconds kDefaultStallLimit{10000};

// Returns the copy as a read-only in-memory database; throws LoadFailure with
// a description of what went wrong.
SqliteHandle loadJetFileIsolated(std::string_view fileBytes,
                                 std::chrono::milliseconds stallLimit = kDefaultStallLimit);

} // namespace platform::db
