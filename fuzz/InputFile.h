#pragma once
// A reader that takes a path gets a fuzz input as a file of its own.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace fuzz {

// A memory file holding exactly data, named by a path any reader can open;
// the same file is rewritten for every input.
std::filesystem::path asFile(const std::uint8_t *data, std::size_t size);

} // namespace fuzz
