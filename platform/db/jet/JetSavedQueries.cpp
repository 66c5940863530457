#include "platform/db/jet/JetSavedQueries.h"

#include <algorithm>
#include <map>

namespace platform::db {
namespace {

// Catalog ids and MSysQueries' ObjectId agree in their low 24 bits, which
// are all libmdb keeps of a catalog entry's id.
constexpr std::uint32_t kIdBits = 0x00FFFFFF;

std::size_t columnIndex(const JetTable &table, const char *name)
{
    const auto &columns = table.columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == name)
            return i;
    }
    throw JetDamage(std::string("MSysQueries has no column ") + name);
}

std::string textOf(const JetValue &value)
{
    return value.kind == JetValue::Text ? value.bytes : std::string();
}

void readRows(JetFile &file, std::vector<SavedQuery> &queries, const std::map<std::uint32_t, std::size_t> &byId)
{
    JetTable table(file, std::string("MSysQueries"));
    const std::size_t objectId = columnIndex(table, "ObjectId");
    const std::size_t attribute = columnIndex(table, "Attribute");
    const std::size_t name1 = columnIndex(table, "Name1");
    const std::size_t name2 = columnIndex(table, "Name2");
    const std::size_t expression = columnIndex(table, "Expression");
    const std::size_t flag = columnIndex(table, "Flag");
    while (table.nextRow()) {
        const std::vector<JetValue> &v = table.values();
        if (v[objectId].kind != JetValue::Integer || v[attribute].kind != JetValue::Integer)
            continue;
        const auto found = byId.find(static_cast<std::uint32_t>(v[objectId].integer) & kIdBits);
        if (found == byId.end())
            continue;
        SavedQueryRow row;
        row.attribute = static_cast<int>(v[attribute].integer);
        row.flag = v[flag].kind == JetValue::Integer ? static_cast<int>(v[flag].integer) : 0;
        row.name1 = textOf(v[name1]);
        row.name2 = textOf(v[name2]);
        row.expression = textOf(v[expression]);
        queries[found->second].rows.push_back(std::move(row));
    }
}

} // namespace

std::vector<SavedQuery> readSavedQueries(JetFile &file)
{
    std::vector<SavedQuery> queries;
    std::map<std::uint32_t, std::size_t> byId;
    for (const JetQueryEntry &entry : file.queryEntries()) {
        byId[entry.id & kIdBits] = queries.size();
        queries.push_back({entry.name, entry.flags, {}, {}});
    }
    if (queries.empty())
        return queries;
    try {
        readRows(file, queries, byId);
    } catch (const JetDamage &damage) {
        for (SavedQuery &q : queries)
            q.damage = damage.what();
    }
    // Clauses are kept in the order written; only their kinds are grouped.
    for (SavedQuery &q : queries)
        std::stable_sort(q.rows.begin(), q.rows.end(), [](const auto &a, const auto &b) { return a.attribute < b.attribute; });
    return queries;
}

} // namespace platform::db
