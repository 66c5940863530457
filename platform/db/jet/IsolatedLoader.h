#pragma once
// libmdb trusts the files it reads: a damaged file can make it crash or loop.
// The copy into SQLite is therefore made in a child process, which beats a
// heartbeat over a pipe while it works and leaves the finished database
// (sqlite3_serialize) in a memory file that the parent maps read-only and
// opens in place. A child that crashes, or stops beating for stallLimit, is a
// failed load, never a failed program.

#include "platform/db/jet/LayerGuard.h"

#include "platform/db/engine/LoadedDatabase.h"

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string_view>

namespace platform::db {

class LoadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::chrono::milliseconds kDefaultStallLimit{10000};

// Makes the copy of the file's bytes, calling stillAlive now and then.
using CopyMaker = std::function<SqliteHandle(std::string_view, const std::function<void()> &stillAlive)>;

// Returns the copy as a read-only in-memory database; throws LoadFailure with
// a description of what went wrong. makeCopy runs in the child; it is
// copyJetFileToSqlite unless a test puts something else there.
LoadedDatabase loadJetFileIsolated(std::string_view fileBytes,
                                   std::chrono::milliseconds stallLimit = kDefaultStallLimit,
                                   const CopyMaker &makeCopy = {});

} // namespace platform::db
