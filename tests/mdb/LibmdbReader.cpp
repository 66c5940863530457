#include "tests/mdb/LibmdbReader.h"

// glib first: mdbtools.h wraps its own include of glib.h in extern "C".
#include <glib.h>
#include <mdbtools.h>

#include <memory>
#include <stdexcept>

namespace mdbtest {

namespace {
struct TableDefDeleter {
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using TablePtr = std::unique_ptr<MdbTableDef, TableDefDeleter>;
} // namespace

struct LibmdbFile::Handle {
    MdbHandle *mdb = nullptr;
    std::size_t bindSize = 0;

    TablePtr open(const std::string &name) const
    {
        TablePtr table(mdb_read_table_by_name(mdb, const_cast<gchar *>(name.c_str()), MDB_TABLE));
        if (!table)
            throw std::runtime_error("libmdb finds no table \"" + name + "\"");
        mdb_read_columns(table.get());
        return table;
    }
};

LibmdbFile::LibmdbFile(const QString &path, std::size_t bindSize) : handle_(new Handle)
{
    handle_->bindSize = bindSize;
    handle_->mdb = mdb_open(path.toLocal8Bit().constData(), MDB_NOFLAGS);
    if (!handle_->mdb) {
        delete handle_;
        throw std::runtime_error("libmdb cannot open " + path.toStdString());
    }
    mdb_set_bind_size(handle_->mdb, bindSize);
    if (!mdb_read_catalog(handle_->mdb, MDB_TABLE)) {
        mdb_close(handle_->mdb);
        delete handle_;
        throw std::runtime_error("libmdb cannot read the catalog of " + path.toStdString());
    }
}

LibmdbFile::~LibmdbFile()
{
    mdb_close(handle_->mdb);
    delete handle_;
}

QStringList LibmdbFile::userTables() const
{
    QStringList names;
    GPtrArray *catalog = handle_->mdb->catalog;
    for (guint n = 0; n < catalog->len; ++n) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalog, n));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

std::vector<LibmdbColumn> LibmdbFile::columns(const std::string &table) const
{
    TablePtr def = handle_->open(table);
    std::vector<LibmdbColumn> result;
    for (guint n = 0; n < def->num_cols; ++n) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(def->columns, n));
        result.push_back({column->name, column->col_type, column->col_size});
    }
    return result;
}

void LibmdbFile::forEachRow(const std::string &table, const std::function<void(const Row &)> &onRow) const
{
    TablePtr def = handle_->open(table);
    const guint count = def->num_cols;
    std::vector<std::vector<char>> buffers(count, std::vector<char>(handle_->bindSize));
    std::vector<int> lengths(count);
    std::vector<int> types(count);
    for (guint n = 0; n < count; ++n) {
        types[n] = static_cast<MdbColumn *>(g_ptr_array_index(def->columns, n))->col_type;
        mdb_bind_column(def.get(), int(n + 1), buffers[n].data(), &lengths[n]);
    }
    mdb_rewind_table(def.get());
    Row row(count);
    while (mdb_fetch_row(def.get())) {
        for (guint n = 0; n < count; ++n) {
            const std::string text(buffers[n].data(), std::size_t(lengths[n]));
            if (types[n] == MDB_LONGINT)
                row[n] = text.empty() ? mdb::Value{} : mdb::Value{std::int32_t(std::stol(text))};
            else
                row[n] = text;
        }
        onRow(row);
    }
}

std::vector<Row> LibmdbFile::rows(const std::string &table) const
{
    std::vector<Row> result;
    forEachRow(table, [&](const Row &row) { result.push_back(row); });
    return result;
}

} // namespace mdbtest
