// A whole Jet file through libmdb and the reader into a SQLite copy, as the
// loader makes it. A refusal (an exception the loader reports) is fine; a
// crash, a sanitizer report or a hang is not.

#include "platform/db/jet/JetToSqlite.h"

#include <cstdint>
#include <exception>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        platform::db::copyJetFileToSqlite(std::string_view(reinterpret_cast<const char *>(data), size), [] {}, {});
    } catch (const std::exception &) {
    }
    return 0;
}
