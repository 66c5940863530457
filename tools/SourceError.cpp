#include "tools/SourceError.h"

namespace pcsdb {

SourceError::SourceError(const std::filesystem::path &file, long long line, const std::string &what)
    : std::runtime_error(file.string() + ':' + std::to_string(line) + ": " + what)
{
}

SourceError::SourceError(const std::filesystem::path &file, const std::string &what)
    : std::runtime_error(file.string() + ": " + what)
{
}

} // namespace pcsdb
