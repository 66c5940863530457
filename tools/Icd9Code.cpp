#include "tools/Icd9Code.h"

namespace pcsdb {

bool isIcd9ProcedureCode(std::string_view code)
{
    if (code.size() != 3 && code.size() != 4)
        return false;
    for (char c : code) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::string icd9WithDecimalPoint(std::string_view code)
{
    std::string dotted(code.substr(0, 2));
    dotted += '.';
    dotted += code.substr(2);
    return dotted;
}

} // namespace pcsdb
