#include "platform/db/jet/JetReader.h"

#include "platform/db/jet/JetMemo.h"
#include "platform/db/jet/JetText.h"

#include <cstdio>
#include <cstdlib>

namespace platform::db {

namespace {

// libmdb reads the first byte of a table's page map without looking, which
// crashes on a damaged file whose map is empty.
bool hasPageMap(const MdbTableDef *table)
{
    return table->usage_map && table->map_sz > 0;
}

} // namespace

struct JetFile::Impl {
    MdbHandle *mdb = nullptr;
    std::size_t pageCount = 0;
    std::vector<MdbCatalogEntry *> userTables;
    // Honest values cannot hold much more text than the file has bytes
    // (compressed Latin-1 at most doubles in UTF-8); a damaged file that makes
    // values repeat themselves runs out of this long before memory does.
    std::size_t byteBudget = 0;

    ~Impl()
    {
        if (mdb)
            mdb_close(mdb);
    }

    // libmdb skips catalog rows it cannot read, which would make tables
    // vanish without a word; the catalog's own row count tells.
    void requireWholeCatalog();

    void spend(std::size_t bytes)
    {
        if (bytes > byteBudget)
            throw JetDamage("its values add up to far more text than the file can hold");
        byteBudget -= bytes;
    }
};

JetFile::JetFile(std::string_view bytes) : d(std::make_unique<Impl>())
{
    d->byteBudget = bytes.size() * 4 + (1u << 20);
    if (bytes.empty())
        throw JetDamage("the file is empty");
    // fmemopen in read mode never writes to the buffer.
    d->mdb = mdb_open_buffer(const_cast<char *>(bytes.data()), bytes.size(), MDB_NOFLAGS);
    if (!d->mdb)
        throw JetDamage("it is not a Jet database");
    if (d->mdb->f->jet_version != MDB_VER_JET4)
        throw JetDamage("it is not a Jet 4 database");
    d->pageCount = (bytes.size() + d->mdb->fmt->pg_size - 1) / d->mdb->fmt->pg_size;
    GPtrArray *catalog = mdb_read_catalog(d->mdb, MDB_TABLE);
    if (!catalog)
        throw JetDamage("its list of tables cannot be read");
    d->requireWholeCatalog();
    for (guint i = 0; i < catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalog, i));
        if (mdb_is_user_table(entry))
            d->userTables.push_back(entry);
    }
}

JetFile::~JetFile() = default;

void JetFile::Impl::requireWholeCatalog()
{
    constexpr unsigned long kCatalogDefinitionPage = 2;
    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = kCatalogDefinitionPage;
    std::snprintf(entry.object_name, sizeof entry.object_name, "%s", "MSysObjects");
    MdbTableDef *table = mdb_read_table(&entry);
    if (!table)
        throw JetDamage("its list of tables cannot be read");
    unsigned int rows = 0;
    if (hasPageMap(table) && mdb_read_columns(table)) {
        mdb_rewind_table(table);
        while (mdb_fetch_row(table))
            ++rows;
    }
    const unsigned int announced = table->num_rows;
    const bool readable = hasPageMap(table) && table->columns != nullptr;
    mdb_free_tabledef(table);
    if (!readable || rows != announced)
        throw JetDamage("its list of tables is damaged: " + std::to_string(announced) + " entries announced, "
                        + std::to_string(rows) + " readable");
}

std::size_t JetFile::userTableCount() const
{
    return d->userTables.size();
}

namespace {

JetValue::Kind kindOf(int columnType)
{
    switch (columnType) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
        return JetValue::Integer;
    case MDB_FLOAT:
    case MDB_DOUBLE:
        return JetValue::Real;
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_MONEY:
    case MDB_DATETIME:
    case MDB_REPID:
        return JetValue::Text;
    case MDB_BINARY:
        return JetValue::Blob;
    default:
        return JetValue::Null;
    }
}

int fixedSizeOf(int columnType)
{
    switch (columnType) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_COMPLEX:
    case MDB_FLOAT:
        return 4;
    case MDB_DOUBLE:
    case MDB_MONEY:
    case MDB_DATETIME:
        return 8;
    case MDB_REPID:
        return 16;
    default:
        return 0;
    }
}

} // namespace

struct JetTable::Impl {
    JetFile::Impl *file = nullptr;
    MdbTableDef *table = nullptr;
    std::string name;
    std::vector<JetColumn> columns;
    std::vector<MdbColumn *> mdbColumns;
    std::vector<MdbField> fields;
    std::vector<JetValue> values;
    std::uint64_t rowsRead = 0;

    ~Impl()
    {
        if (table)
            mdb_free_tabledef(table);
    }

    MdbHandle *mdb() const { return file->mdb; }
    void crackCurrentRow();
    void readField(std::size_t i);
    void readText(const MdbField &field, const MdbColumn &column, JetValue &value);
};

JetTable::JetTable(JetFile &file, std::size_t userTableIndex) : d(std::make_unique<Impl>())
{
    d->file = file.d.get();
    MdbCatalogEntry *entry = d->file->userTables.at(userTableIndex);
    d->name = entry->object_name;
    d->table = mdb_read_table(entry);
    if (!d->table)
        throw JetDamage("the table " + d->name + " cannot be read");
    if (!hasPageMap(d->table))
        throw JetDamage("the table " + d->name + " has no list of its pages");
    if (!mdb_read_columns(d->table) || !d->table->columns)
        throw JetDamage("the columns of " + d->name + " cannot be read");
    for (guint i = 0; i < d->table->num_cols; ++i) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(d->table->columns, i));
        d->mdbColumns.push_back(column);
        d->columns.push_back({column->name, kindOf(column->col_type)});
    }
    d->fields.resize(d->table->num_cols);
    d->values.resize(d->table->num_cols);
    mdb_rewind_table(d->table);
}

JetTable::~JetTable() = default;

const std::string &JetTable::name() const
{
    return d->name;
}

const std::vector<JetColumn> &JetTable::columns() const
{
    return d->columns;
}

const std::vector<JetValue> &JetTable::values() const
{
    return d->values;
}

bool JetTable::nextRow()
{
    // Without bound columns libmdb only locates the row; its bound values could
    // not tell Null from empty text anyway. The row it found is still in the
    // page buffer, so it is cracked again here for the null mask and offsets.
    if (!mdb_fetch_row(d->table)) {
        if (d->rowsRead != d->table->num_rows)
            throw JetDamage("the table " + d->name + " announces " + std::to_string(d->table->num_rows)
                            + " rows but " + std::to_string(d->rowsRead) + " can be read");
        return false;
    }
    ++d->rowsRead;
    d->crackCurrentRow();
    for (std::size_t i = 0; i < d->fields.size(); ++i)
        d->readField(i);
    return true;
}

void JetTable::Impl::crackCurrentRow()
{
    int start = 0;
    size_t size = 0;
    if (table->cur_row == 0 || mdb_find_row(mdb(), static_cast<int>(table->cur_row - 1), &start, &size) != 0
        || mdb_crack_row(table, start & 0x1FFF, size, fields.data()) < 0)
        throw JetDamage("a row of " + name + " cannot be read");
}

void JetTable::Impl::readField(std::size_t i)
{
    const MdbField &field = fields[i];
    const MdbColumn &column = *mdbColumns[i];
    JetValue &value = values[i];
    value.kind = JetValue::Null;
    value.bytes.clear();
    if (column.col_type == MDB_BOOL) {
        // A Yes/No value lives in the null mask itself: a set bit is Yes (-1).
        value.kind = JetValue::Integer;
        value.integer = field.is_null ? 0 : -1;
        return;
    }
    if (field.is_null || columns[i].kind == JetValue::Null)
        return;
    const int needed = fixedSizeOf(column.col_type);
    if (field.siz < needed || (needed == 0 && field.siz < 0))
        throw JetDamage("a value of " + name + "." + column.name + " is cut short");
    const auto *pg = static_cast<unsigned char *>(mdb()->pg_buf);
    const int at = field.start;
    switch (column.col_type) {
    case MDB_BYTE:
        value.integer = mdb_get_byte(mdb()->pg_buf, at);
        break;
    case MDB_INT:
        value.integer = static_cast<std::int16_t>(mdb_get_int16(mdb()->pg_buf, at));
        break;
    case MDB_LONGINT:
    case MDB_COMPLEX:
        value.integer = static_cast<std::int32_t>(mdb_get_int32(mdb()->pg_buf, at));
        break;
    case MDB_FLOAT:
        value.real = mdb_get_single(mdb()->pg_buf, at);
        break;
    case MDB_DOUBLE:
        value.real = mdb_get_double(mdb()->pg_buf, at);
        break;
    case MDB_BINARY:
        value.bytes.assign(reinterpret_cast<const char *>(pg) + at, field.siz);
        break;
    default:
        readText(field, column, value);
        break;
    }
    value.kind = columns[i].kind;
    file->spend(value.bytes.size() + 8);
}

void JetTable::Impl::readText(const MdbField &field, const MdbColumn &column, JetValue &value)
{
    const auto *pg = reinterpret_cast<const char *>(mdb()->pg_buf);
    const std::string_view stored(pg + field.start, static_cast<std::size_t>(field.siz));
    if (column.col_type == MDB_TEXT) {
        appendJetTextAsUtf8(stored, value.bytes);
    } else if (column.col_type == MDB_MEMO) {
        appendJetTextAsUtf8(readMemoBytes(mdb(), stored, file->pageCount), value.bytes);
    } else {
        // Money, dates and replication ids: libmdb's own text for them.
        char *text = mdb_col_to_string(mdb(), mdb()->pg_buf, field.start, column.col_type, field.siz);
        value.bytes = text ? text : "";
        g_free(text);
    }
}

} // namespace platform::db
