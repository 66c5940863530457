#include "fuzz/SavedQueryBytes.h"

#include <utility>

namespace fuzz {

namespace {

std::string takeString(std::string_view &bytes)
{
    const std::size_t end = bytes.find('\0');
    std::string text(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    return text;
}

int takeByte(std::string_view &bytes)
{
    if (bytes.empty())
        return 0;
    const int value = static_cast<unsigned char>(bytes.front());
    bytes.remove_prefix(1);
    return value;
}

} // namespace

platform::db::SavedQuery decodeSavedQuery(std::string_view bytes)
{
    platform::db::SavedQuery query;
    query.name = "fuzzed";
    query.objectFlags = takeByte(bytes);
    query.objectFlags |= takeByte(bytes) << 8;
    while (!bytes.empty()) {
        platform::db::SavedQueryRow row;
        row.attribute = takeByte(bytes);
        row.flag = takeByte(bytes);
        row.name1 = takeString(bytes);
        row.name2 = takeString(bytes);
        row.expression = takeString(bytes);
        query.rows.push_back(std::move(row));
    }
    return query;
}

std::string encodeSavedQuery(const platform::db::SavedQuery &query)
{
    std::string bytes;
    bytes += char(query.objectFlags & 0xFF);
    bytes += char((query.objectFlags >> 8) & 0xFF);
    for (const platform::db::SavedQueryRow &row : query.rows) {
        bytes += char(row.attribute);
        bytes += char(row.flag);
        for (const std::string *text : {&row.name1, &row.name2, &row.expression}) {
            bytes += *text;
            bytes += '\0';
        }
    }
    return bytes;
}

} // namespace fuzz
