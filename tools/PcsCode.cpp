#include "tools/PcsCode.h"

#include <algorithm>

namespace pcsdb {

int pcsCharacterIndex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c < 'A' || c > 'Z' || c == 'I' || c == 'O')
        return -1;
    int index = 10 + (c - 'A');
    if (c > 'I')
        --index;
    if (c > 'O')
        --index;
    return index;
}

bool isPcsCharacter(char c)
{
    return pcsCharacterIndex(c) >= 0;
}

bool isPcsCode(std::string_view text, std::size_t length)
{
    return text.size() == length && std::all_of(text.begin(), text.end(), isPcsCharacter);
}

} // namespace pcsdb
