#include "mdb/SavedQueries.h"

#include <array>

namespace mdb {

namespace {

enum QueryColumnIndex : std::size_t { ObjectId, Attribute, Order, Name1, Name2, Expression, Flag, LvExtra, ColumnCount };

enum QueryAttribute : std::int32_t {
    Start = 0, Type = 1, Flags = 3, Table = 5, Column = 6, Join = 7, Where = 8, OrderBy = 11, End = 255
};

constexpr std::int32_t kSelectType = 1;
constexpr std::int32_t kDistinctFlag = 0x02;
constexpr std::uint16_t kText255 = 2 * 255;
constexpr std::uint16_t kBinary255 = 255;

std::vector<Value> queryRow(std::int32_t objectId, QueryAttribute attribute)
{
    std::vector<Value> row(ColumnCount);
    row[ObjectId] = objectId;
    row[Attribute] = std::int32_t(attribute);
    return row;
}

Value textOrNull(const std::string &text)
{
    return text.empty() ? Value{} : Value{text};
}

} // namespace

TableLayout queriesLayout()
{
    const std::array<FieldDeclaration, ColumnCount> fields{{
        {"ObjectId", FieldType::Long, 0},
        {"Attribute", FieldType::Byte, 0},
        {"Order", FieldType::Binary, kBinary255},
        {"Name1", FieldType::Text, kText255},
        {"Name2", FieldType::Text, kText255},
        {"Expression", FieldType::Memo, 0},
        {"Flag", FieldType::Integer, 0},
        {"LvExtra", FieldType::Ole, 0},
    }};
    return makeTableLayout(kQueriesName, {fields.begin(), fields.end()}, true);
}

void checkSelectQuery(const SavedSelectQuery &query)
{
    const std::string described = "Query \"" + query.name + "\"";
    if (query.columns.empty())
        throw WriterError(described + " selects no columns");
    if (query.tables.empty())
        throw WriterError(described + " reads no tables");
    for (const QueryColumn &column : query.columns) {
        if (column.expression.empty())
            throw WriterError(described + " has a column without an expression");
    }
    for (const QueryJoin &join : query.joins) {
        if (join.leftTable.empty() || join.rightTable.empty() || join.condition.empty())
            throw WriterError(described + " has a join without its tables or its condition");
    }
}

std::vector<std::vector<Value>> selectQueryRows(const SavedSelectQuery &query, std::int32_t objectId)
{
    std::vector<std::vector<Value>> rows;
    rows.push_back(queryRow(objectId, Start));
    rows.push_back(queryRow(objectId, End));
    rows.push_back(queryRow(objectId, Type));
    rows.back()[Flag] = kSelectType;
    rows.push_back(queryRow(objectId, Flags));
    rows.back()[Flag] = query.distinct ? kDistinctFlag : 0;
    for (const std::string &table : query.tables) {
        rows.push_back(queryRow(objectId, Table));
        rows.back()[Name1] = table;
    }
    for (const QueryColumn &column : query.columns) {
        rows.push_back(queryRow(objectId, Column));
        rows.back()[Expression] = column.expression;
        rows.back()[Name1] = textOrNull(column.alias);
        rows.back()[Flag] = 0;
    }
    for (const QueryJoin &join : query.joins) {
        rows.push_back(queryRow(objectId, Join));
        rows.back()[Name1] = join.leftTable;
        rows.back()[Name2] = join.rightTable;
        rows.back()[Expression] = join.condition;
        rows.back()[Flag] = std::int32_t(join.kind);
    }
    if (!query.where.empty()) {
        rows.push_back(queryRow(objectId, Where));
        rows.back()[Expression] = query.where;
    }
    for (const QueryOrder &order : query.orderBy) {
        rows.push_back(queryRow(objectId, OrderBy));
        rows.back()[Expression] = order.expression;
        if (order.descending)
            rows.back()[Name1] = std::string("D");
    }
    return rows;
}

} // namespace mdb
