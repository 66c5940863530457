#pragma once
// ICD-9-CM procedure codes as the CMS files carry them (3 or 4 digits, no
// decimal point) and as coders write them (point after the second digit).

#include <string>
#include <string_view>

namespace pcsdb {

bool isIcd9ProcedureCode(std::string_view code);
// "0231" -> "02.31", "016" -> "01.6"; code must satisfy isIcd9ProcedureCode.
std::string icd9WithDecimalPoint(std::string_view code);

} // namespace pcsdb
