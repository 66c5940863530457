#pragma once
// CMS documents its text files as ISO-8859-1; the database stores UTF-8 text.

#include <string>
#include <string_view>

namespace pcsdb {

std::string latin1ToUtf8(std::string_view latin1);

} // namespace pcsdb
