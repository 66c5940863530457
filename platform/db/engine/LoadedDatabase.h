#pragma once
// A loaded copy of the database: the SQLite engine and the read-only memory
// mapping it reads from, released in that order.

#include "platform/db/engine/LayerGuard.h"

#include "platform/db/engine/SqliteHandle.h"

#include <cstddef>

namespace platform::db {

class LoadedDatabase {
public:
    LoadedDatabase() = default;
    LoadedDatabase(void *memory, std::size_t size, SqliteHandle engine);
    ~LoadedDatabase();
    LoadedDatabase(LoadedDatabase &&other) noexcept;
    LoadedDatabase &operator=(LoadedDatabase &&other) noexcept;

    sqlite3 *get() const { return engine_.get(); }

private:
    void release();

    void *memory_ = nullptr;
    std::size_t size_ = 0;
    SqliteHandle engine_; // closed before the memory goes
};

} // namespace platform::db
