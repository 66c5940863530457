#include "platform/db/engine/LoadedDatabase.h"

#include <sys/mman.h>
#include <utility>

namespace platform::db {

LoadedDatabase::LoadedDatabase(void *memory, std::size_t size, SqliteHandle engine)
    : memory_(memory), size_(size), engine_(std::move(engine))
{
}

LoadedDatabase::~LoadedDatabase()
{
    release();
}

LoadedDatabase::LoadedDatabase(LoadedDatabase &&other) noexcept
    : memory_(std::exchange(other.memory_, nullptr)), size_(std::exchange(other.size_, 0)),
      engine_(std::move(other.engine_))
{
}

LoadedDatabase &LoadedDatabase::operator=(LoadedDatabase &&other) noexcept
{
    if (this != &other) {
        release();
        memory_ = std::exchange(other.memory_, nullptr);
        size_ = std::exchange(other.size_, 0);
        engine_ = std::move(other.engine_);
    }
    return *this;
}

void LoadedDatabase::release()
{
    engine_.reset();
    if (memory_)
        ::munmap(memory_, size_);
    memory_ = nullptr;
    size_ = 0;
}

} // namespace platform::db
