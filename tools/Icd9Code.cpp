#include "tools/Icd9Code.h"

#include "tools/TextFields.h"

namespace pcsdb {

bool isIcd9ProcedureCode(std::string_view code)
{
    return (code.size() == 3 || code.size() == 4) && isAllDigits(code);
}

std::string icd9WithDecimalPoint(std::string_view code)
{
    return std::string(code.substr(0, 2)) + '.' + std::string(code.substr(2));
}

} // namespace pcsdb
