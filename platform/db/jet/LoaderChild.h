#pragma once
// The loader program's side of its conversation with the program (see
// LoaderProtocol.h): attach to the descriptors it was given, beat while it
// works, then hand over the database or a failure and end the process.

#include "platform/db/jet/LayerGuard.h"
#include "platform/db/engine/SqliteHandle.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace platform::db::loader {

class LoaderChild {
public:
    // Ends the process at once (status 4) when the program that started it
    // is gone or the descriptors are not what they should be. From here on
    // the loader dies with the program.
    LoaderChild(int argc, char **argv);
    LoaderChild(const LoaderChild &) = delete;
    LoaderChild &operator=(const LoaderChild &) = delete;

    // Gives up opening files, the network and starting programs (see
    // LoaderConfinement.h); a loader that cannot fails instead of reading.
    void confine();

    std::string_view source() const { return {source_, size_}; }
    // Memory of the result file to build the copy in: far more than any copy
    // of the source needs, and only what is written of it is ever allocated.
    std::span<unsigned char> resultStorage();
    // A sign of life; sent at most every 50 ms however often it is called.
    void beat();
    // Hands over the copy built in resultStorage().
    [[noreturn]] void deliver(SqliteHandle database);
    [[noreturn]] void fail(std::string_view description);

private:
    const char *source_ = nullptr;
    std::size_t size_ = 0;
    long long lastBeat_ = 0; // steady clock, in milliseconds
    unsigned char *storage_ = nullptr;
    std::size_t storageSize_ = 0;
};

// The whole loader program: copies the source into SQLite and delivers it.
[[noreturn]] void runLoader(int argc, char **argv);

} // namespace platform::db::loader
