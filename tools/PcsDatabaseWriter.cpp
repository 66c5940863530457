#include "platform/ReleaseTable.h"
#include "tools/PcsDatabaseWriter.h"

#include "mdb/JetWriter.h"
#include "tools/CodeTableRows.h"
#include "tools/PcsTables.h"
#include "tools/PcsRows.h"
#include "tools/Progress.h"

#include <string>
#include <vector>

namespace pcsdb {

namespace {

using mdb::ColumnDefinition;
using mdb::ColumnType;

constexpr std::size_t progressInterval = 4096;

std::vector<ColumnDefinition> longPcsColumns()
{
    return {{"ID", ColumnType::Long}, {"Description", ColumnType::Text, 255}};
}

std::vector<ColumnDefinition> getAllDataColumns()
{
    std::vector<ColumnDefinition> columns = {
        {"ID", ColumnType::Long},
        {"Description", ColumnType::Text, 255},
        {"code", ColumnType::Text, pcsCodeLength},
        {"pcs9", ColumnType::Text, 5},  // "02.31", "NoI9"
        {"pcs9desc", ColumnType::Text, 255},
    };
    for (int character = 1; character <= pcsCodeLength; ++character)
        columns.push_back({"character " + std::to_string(character), ColumnType::Text, 255});
    return columns;
}

std::vector<ColumnDefinition> pcsTableColumns()
{
    constexpr int labelLength = static_cast<int>(PcsTables::maxTableLabelLength);
    return {{"Code", ColumnType::Text, PcsTables::tableAxes},
            {"Section", ColumnType::Text, labelLength},
            {"BodySystem", ColumnType::Text, labelLength},
            {"Operation", ColumnType::Text, labelLength},
            {"Definition", ColumnType::Memo}};
}

std::vector<ColumnDefinition> pcsAxisColumns()
{
    return {{"Code", ColumnType::Text, PcsTables::tableAxes},
            {"RowNo", ColumnType::Long},
            {"Pos", ColumnType::Long},
            {"Title", ColumnType::Text, static_cast<int>(PcsTables::maxAxisTitleLength)},
            {"Value", ColumnType::Text, 1},
            {"Label", ColumnType::Text, 255}};
}

void writeCodeTables(mdb::JetWriter &writer, const CodeTableRows &codeTables, Progress &progress)
{
    const auto pcsTable = writer.addTable("pcstable", pcsTableColumns());
    const auto pcsAxis = writer.addTable("pcsaxis", pcsAxisColumns());
    progress.step("Writing the code tables");
    std::vector<mdb::Value> values;
    for (const CodeTableRow &table : codeTables.tables) {
        values.assign({table.code, table.section, table.bodySystem, table.operation, table.definition});
        writer.appendRow(pcsTable, values);
    }
    for (const CodeAxisRow &axis : codeTables.axes) {
        values.assign({axis.code, axis.rowNo, axis.pos, axis.title, std::string(1, axis.value), axis.label});
        writer.appendRow(pcsAxis, values);
    }
}

std::vector<ColumnDefinition> releaseColumns()
{
    return {{release_table::ItemColumn, ColumnType::Text, 64}, {release_table::ValueColumn, ColumnType::Text, 255}};
}

mdb::Value optionalText(const std::optional<std::string> &text)
{
    return text ? mdb::Value(*text) : mdb::Value();
}

} // namespace

void writePcsDatabase(const PcsRows &rows, const CodeTableRows &codeTables, const ReleaseFacts &facts, const std::filesystem::path &target,
                      Progress &progress)
{
    mdb::JetWriter writer(target);
    const auto longPcs = writer.addTable("longpcs", longPcsColumns());
    const auto getAllData = writer.addTable("getalldata", getAllDataColumns());
    const auto release = writer.addTable(release_table::TableName, releaseColumns());

    progress.step("Writing longpcs");
    std::vector<mdb::Value> values;
    for (std::size_t i = 0; i < rows.procedures.size(); ++i) {
        const Procedure &procedure = rows.procedures[i];
        values.assign({procedure.id, procedure.description});
        writer.appendRow(longPcs, values);
        if (i % progressInterval == 0)
            progress.advance(i, rows.procedures.size());
    }
    progress.advance(rows.procedures.size(), rows.procedures.size());

    progress.step("Writing getalldata");
    for (std::size_t i = 0; i < rows.details.size(); ++i) {
        const ProcedureDetail &detail = rows.details[i];
        const Procedure &procedure = rows.procedures[detail.procedure];
        values.assign({procedure.id, procedure.description, procedure.code, optionalText(detail.pcs9), detail.pcs9desc});
        for (const std::string &meaning : detail.characters)
            values.emplace_back(meaning);
        writer.appendRow(getAllData, values);
        if (i % progressInterval == 0)
            progress.advance(i, rows.details.size());
    }
    progress.advance(rows.details.size(), rows.details.size());

    writeCodeTables(writer, codeTables, progress);

    for (const auto &[item, value] : facts) {
        values.assign({item, value});
        writer.appendRow(release, values);
    }

    progress.step("Saving " + target.filename().string());
    writer.finish();
}

} // namespace pcsdb
