#pragma once
// A fault in one of the release files, located as precisely as the reader can:
// "file:line: what is wrong" (or "file: what is wrong" when no line applies).

#include <filesystem>
#include <stdexcept>
#include <string>

namespace pcsdb {

class SourceError : public std::runtime_error {
public:
    SourceError(const std::filesystem::path &file, long long line, const std::string &what);
    SourceError(const std::filesystem::path &file, const std::string &what);
};

} // namespace pcsdb
