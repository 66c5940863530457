#pragma once
// libmdb trusts the files it reads: a damaged file can make it crash or loop.
// The copy into SQLite is therefore made by a program of its own, the loader
// (vorimel-load, beside the program), started with posix_spawn: never a bare
// fork of the program, whose other threads may hold locks that the copy would
// wait on forever. The loader beats a heartbeat over a pipe while it works and
// builds the finished database in a memory file that the program then seals,
// maps read-only and opens in place. A loader that crashes, or
// stops beating for stallLimit, is a failed load, never a failed program; it
// dies with the program.

#include "platform/db/jet/LayerGuard.h"
#include "platform/db/engine/LoadedDatabase.h"
#include "platform/db/jet/SealedSource.h"

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform::db {

class LoadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The loader program is not where it should be, or cannot be run: the
// installation is at fault, not the file.
class LoaderUnavailable : public LoadFailure {
public:
    using LoadFailure::LoadFailure;
};

constexpr std::chrono::milliseconds kDefaultStallLimit{10000};

// How the loader is started; the program's process id is appended to the
// arguments. Tests put stand-ins of their own here.
struct LoaderCommand {
    std::string program;
    std::vector<std::string> arguments;
};

// vorimel-load beside the running executable, and nowhere else.
LoaderCommand defaultLoaderCommand();

// The loader started and its answer still to come: the program may do other
// work meanwhile. Left unfinished, the loader is killed.
class LoadInProgress {
public:
    ~LoadInProgress();
    LoadInProgress(LoadInProgress &&other) noexcept;
    LoadInProgress &operator=(LoadInProgress &&other) noexcept;

    // Waits for the copy; throws LoadFailure with a description of what went
    // wrong. Once only.
    LoadedDatabase finish();

private:
    friend LoadInProgress startLoadingJetFile(const SealedSource &, std::chrono::milliseconds,
                                              const LoaderCommand &);
    struct State;
    explicit LoadInProgress(std::unique_ptr<State> state);
    std::unique_ptr<State> d;
};

// Starts the loader on the file; throws LoadFailure (LoaderUnavailable) when
// it cannot be started.
LoadInProgress startLoadingJetFile(const SealedSource &source,
                                   std::chrono::milliseconds stallLimit = kDefaultStallLimit,
                                   const LoaderCommand &loader = defaultLoaderCommand());

// Returns the copy as a read-only in-memory database; throws LoadFailure with
// a description of what went wrong.
LoadedDatabase loadJetFileIsolated(const SealedSource &source,
                                   std::chrono::milliseconds stallLimit = kDefaultStallLimit,
                                   const LoaderCommand &loader = defaultLoaderCommand());

} // namespace platform::db
