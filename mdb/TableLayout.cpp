#include "mdb/TableLayout.h"

#include <set>

#include "mdb/JetFormat.h"
#include "mdb/JetWriter.h"
#include "mdb/NameRules.h"

namespace mdb {

namespace {

std::uint16_t fixedLength(FieldType type)
{
    switch (type) {
    case FieldType::Byte: return 1;
    case FieldType::Integer: return 2;
    case FieldType::Long: return 4;
    case FieldType::DateTime: return 8;
    default: return 0;
    }
}

} // namespace

bool Field::isFixed() const { return fixedLength(type) != 0; }

std::string describeTable(const std::string &tableName) { return "Table \"" + tableName + "\""; }

TableLayout makeTableLayout(const std::string &tableName, const std::vector<FieldDeclaration> &fields, bool system)
{
    TableLayout layout;
    layout.name = tableName;
    layout.system = system;
    if (std::string problem = checkObjectName(tableName, layout.nameUtf16); !problem.empty())
        throw WriterError("Table name \"" + tableName + "\" " + problem);
    const std::string table = describeTable(tableName);
    if (fields.empty())
        throw WriterError(table + " has no columns");
    if (fields.size() > jet::kMaxColumns)
        throw WriterError(table + " has " + std::to_string(fields.size()) + " columns; Jet allows at most " +
                          std::to_string(jet::kMaxColumns));

    std::set<std::u16string> seen;
    for (std::size_t n = 0; n < fields.size(); ++n) {
        const FieldDeclaration &declared = fields[n];
        Field field;
        field.name = declared.name;
        field.type = declared.type;
        field.number = std::uint16_t(n);
        if (std::string problem = checkObjectName(declared.name, field.nameUtf16); !problem.empty())
            throw WriterError(table + ", column " + std::to_string(n + 1) + ": name \"" + declared.name + "\" " +
                              problem);
        if (!seen.insert(nameKey(field.nameUtf16)).second)
            throw WriterError(table + ": column name \"" + declared.name + "\" is used more than once");
        if (field.isFixed()) {
            field.length = fixedLength(field.type);
            field.fixedOffset = layout.fixedSize;
            layout.fixedSize = std::uint16_t(layout.fixedSize + field.length);
        } else {
            field.length = field.isLongValue() ? 0 : declared.maxBytes;
            field.varIndex = layout.variableCount++;
        }
        layout.fields.push_back(std::move(field));
    }
    return layout;
}

} // namespace mdb
