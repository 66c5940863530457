#include "tools/PcsCode.h"

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
    if (text.size() != length)
        return false;
    for (char c : text) {
        if (!isPcsCharacter(c))
            return false;
    }
    return true;
}

} // namespace pcsdb
