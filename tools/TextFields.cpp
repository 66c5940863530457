#include "tools/TextFields.h"

namespace pcsdb {

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool isAllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool isAllBlanks(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

} // namespace pcsdb
