#include "mdb/Catalog.h"

#include <array>

namespace mdb {

namespace {

enum CatalogColumn : std::size_t {
    Id, ParentId, Name, Type, DateCreate, DateUpdate, Owner, Flags, Database, Connect,
    ForeignName, RmtInfoShort, RmtInfoLong, Lv, LvProp, LvModule, LvExtra, ColumnCount
};

constexpr std::uint16_t kText255 = 2 * 255;
constexpr std::uint16_t kBinary255 = 255;
constexpr std::int32_t kTableObject = 1;
constexpr std::int32_t kQueryObject = 5;
constexpr std::int32_t kUserTableFlags = 0;
constexpr std::int32_t kSystemTableFlags = std::int32_t(0x80000002u);
constexpr std::int32_t kSelectQueryFlags = 0;

} // namespace

TableLayout catalogLayout()
{
    const std::array<FieldDeclaration, ColumnCount> fields{{
        {"Id", FieldType::Long, 0},
        {"ParentId", FieldType::Long, 0},
        {"Name", FieldType::Text, kText255},
        {"Type", FieldType::Integer, 0},
        {"DateCreate", FieldType::DateTime, 0},
        {"DateUpdate", FieldType::DateTime, 0},
        {"Owner", FieldType::Binary, kBinary255},
        {"Flags", FieldType::Long, 0},
        {"Database", FieldType::Memo, 0},
        {"Connect", FieldType::Memo, 0},
        {"ForeignName", FieldType::Text, kText255},
        {"RmtInfoShort", FieldType::Binary, kBinary255},
        {"RmtInfoLong", FieldType::Ole, 0},
        {"Lv", FieldType::Ole, 0},
        {"LvProp", FieldType::Ole, 0},
        {"LvModule", FieldType::Ole, 0},
        {"LvExtra", FieldType::Ole, 0},
    }};
    return makeTableLayout(kCatalogName, {fields.begin(), fields.end()}, true);
}

std::vector<Value> catalogRow(const std::string &tableName, std::uint32_t definitionPage)
{
    std::vector<Value> row(ColumnCount);
    row[Id] = std::int32_t(definitionPage);
    row[Name] = tableName;
    row[Type] = kTableObject;
    row[Flags] = kUserTableFlags;
    return row;
}

std::vector<Value> systemCatalogRow(const std::string &tableName, std::uint32_t definitionPage)
{
    std::vector<Value> row = catalogRow(tableName, definitionPage);
    row[Flags] = kSystemTableFlags;
    return row;
}

std::vector<Value> queryCatalogRow(const std::string &queryName, std::int32_t objectId)
{
    std::vector<Value> row(ColumnCount);
    row[Id] = objectId;
    row[Name] = queryName;
    row[Type] = kQueryObject;
    row[Flags] = kSelectQueryFlags;
    return row;
}

} // namespace mdb
