#pragma once
// The code tables as the rows of pcstable and pcsaxis: one per table, and one
// per value a row allows at character positions 4 to 7, in the file's order,
// so a coder browsing them sees what the printed tables show.

#include <string>
#include <vector>

namespace pcsdb {

class PcsTables;

struct CodeTableRow {
    std::string code;  // the first three characters
    std::string section;
    std::string bodySystem;
    std::string operation;
    std::string definition;  // of the operation; empty when the file gives none
};

struct CodeAxisRow {
    std::string code;
    int rowNo = 0;  // 1-based position of the row within its table
    int pos = 0;    // 4 to 7
    std::string title;
    char value = 0;
    std::string label;
};

struct CodeTableRows {
    std::vector<CodeTableRow> tables;
    std::vector<CodeAxisRow> axes;
};

CodeTableRows assembleCodeTableRows(const PcsTables &tables);

} // namespace pcsdb
