#include "tools/PcsCode.h"

namespace pcsdb {

int pcsCharacterIndex(char c)
{
    const std::size_t index = pcsAlphabet.find(c);
    return index == std::string_view::npos ? -1 : static_cast<int>(index);
}

bool isPcsCode(std::string_view text, std::size_t length)
{
    return text.size() == length && text.find_first_not_of(pcsAlphabet) == std::string_view::npos;
}

} // namespace pcsdb
