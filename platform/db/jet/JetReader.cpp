#include "platform/db/jet/JetReader.h"

#include "platform/db/jet/JetCodePage.h"
#include "platform/db/jet/JetDate.h"
#include "platform/db/jet/JetMemo.h"
#include "platform/db/jet/JetText.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::db {

namespace {

// libmdb reads the first byte of a table's page map without looking, which
// crashes on a damaged file whose map is empty.
bool hasPageMap(const MdbTableDef *table)
{
    return table->usage_map && table->map_sz > 0;
}

// libmdb takes a row's end to be start + size - 1 in unsigned arithmetic and
// reads the null mask back from there: a row of no bytes at the page's start
// sends it reading four gigabytes away. A row too short for its own column
// count and null mask is damage, whatever libmdb would make of it.
bool holdsItsHeader(MdbHandle *handle, int start, std::size_t size)
{
    const bool jet3 = handle->f->jet_version == MDB_VER_JET3;
    const std::size_t countSize = jet3 ? 1 : 2;
    if (size < countSize)
        return false;
    const unsigned columns = jet3 ? mdb_get_byte(handle->pg_buf, start) : mdb_get_int16(handle->pg_buf, start);
    return size >= countSize + (columns + 7) / 8;
}

} // namespace

struct JetFile::Impl {
    MdbHandle *mdb = nullptr;
    std::size_t pageCount = 0;
    std::vector<std::unique_ptr<MdbCatalogEntry>> catalog;
    std::vector<MdbCatalogEntry *> userTables;
    std::vector<MdbCatalogEntry *> allTables;
    std::vector<JetQueryEntry> queries;
    std::unique_ptr<CodePageText> codePage; // Jet 3 only
    // Honest values cannot hold much more text than the file has bytes
    // (compressed Latin-1 at most doubles in UTF-8); a damaged file that makes
    // values repeat themselves runs out of this long before memory does.
    std::size_t byteBudget = 0;

    ~Impl()
    {
        if (mdb)
            mdb_close(mdb);
    }

    void readCatalog();

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
    switch (d->mdb->f->jet_version) {
    case MDB_VER_JET3:
        d->codePage = std::make_unique<CodePageText>(d->mdb->f->code_page);
        break;
    case MDB_VER_JET4:
    case MDB_VER_ACCDB_2007:
    case MDB_VER_ACCDB_2010:
    case MDB_VER_ACCDB_2013:
    case MDB_VER_ACCDB_2016:
    case MDB_VER_ACCDB_2019:
        break;
    default:
        throw JetDamage("its format version (" + std::to_string(d->mdb->f->jet_version) + ") is unknown");
    }
    d->pageCount = (bytes.size() + d->mdb->fmt->pg_size - 1) / d->mdb->fmt->pg_size;
    d->readCatalog();
    for (const auto &entry : d->catalog) {
        if (entry->object_type == MDB_TABLE)
            d->allTables.push_back(entry.get());
        if (mdb_is_user_table(entry.get()))
            d->userTables.push_back(entry.get());
        if (entry->object_type == MDB_QUERY)
            d->queries.push_back({entry->object_name, static_cast<std::uint32_t>(entry->table_pg), entry->flags});
    }
}

JetFile::~JetFile() = default;

std::size_t JetFile::userTableCount() const
{
    return d->userTables.size();
}

std::vector<JetQueryEntry> JetFile::queryEntries() const
{
    return d->queries;
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
    case MDB_DATETIME:
    case MDB_REPID:
        return JetValue::Text;
    case MDB_MONEY:
    case MDB_NUMERIC:
        return JetValue::Number;
    case MDB_BINARY:
    case MDB_OLE:
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
    case MDB_NUMERIC:
        return 16;
    case MDB_OLE:
        return MDB_MEMO_OVERHEAD;
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
    void open(JetFile::Impl *owner, MdbCatalogEntry *entry);
    bool fetchAndCrackNextRow();
    bool nextCrackedRow();
    std::size_t columnNamed(const char *wanted, JetValue::Kind kind) const;
    void readDecimal(const unsigned char *stored, const MdbColumn &column, JetValue &value);
    void readField(std::size_t i);
    void readText(const MdbField &field, const MdbColumn &column, JetValue &value);

    // Jet 4 and ACE keep UTF-16 (often compressed), Jet 3 its code page.
    void appendText(std::string_view stored, std::string &out) const
    {
        if (file->codePage)
            file->codePage->appendAsUtf8(stored, out);
        else
            appendJetTextAsUtf8(stored, out);
    }
};

namespace {

// A Single shows as the shortest decimal that reads back as the same float
// (0.05, not 0.0500000007): the value the user typed and Jet displays.
double singleAsShown(float stored)
{
    // to_chars and from_chars, unlike strtod, ignore the locale's decimal comma.
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, stored);
    double shown = stored;
    if (ec == std::errc())
        std::from_chars(text, end, shown);
    return shown;
}

MdbCatalogEntry *tableNamed(const std::vector<MdbCatalogEntry *> &tables, const std::string &name)
{
    for (MdbCatalogEntry *entry : tables) {
        if (name == entry->object_name)
            return entry;
    }
    throw JetDamage("it has no table " + name);
}

} // namespace

JetTable::JetTable(JetFile &file, std::size_t userTableIndex) : d(std::make_unique<Impl>())
{
    d->open(file.d.get(), file.d->userTables.at(userTableIndex));
}

JetTable::JetTable(JetFile &file, const std::string &name) : d(std::make_unique<Impl>())
{
    d->open(file.d.get(), tableNamed(file.d->allTables, name));
}

void JetTable::Impl::open(JetFile::Impl *owner, MdbCatalogEntry *entry)
{
    file = owner;
    name = entry->object_name;
    table = mdb_read_table(entry);
    if (!table)
        throw JetDamage("the table " + name + " cannot be read");
    if (!hasPageMap(table))
        throw JetDamage("the table " + name + " has no list of its pages");
    if (!mdb_read_columns(table) || !table->columns)
        throw JetDamage("the columns of " + name + " cannot be read");
    for (guint i = 0; i < table->num_cols; ++i) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        mdbColumns.push_back(column);
        columns.push_back({column->name, kindOf(column->col_type)});
    }
    fields.resize(table->num_cols);
    values.resize(table->num_cols);
    mdb_rewind_table(table);
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
    if (!d->nextCrackedRow())
        return false;
    for (std::size_t i = 0; i < d->fields.size(); ++i)
        d->readField(i);
    return true;
}

// libmdb skips rows it cannot read, which would make them vanish without a
// word; the table's own row count tells.
bool JetTable::Impl::nextCrackedRow()
{
    if (!fetchAndCrackNextRow()) {
        if (rowsRead != table->num_rows)
            throw JetDamage("the table " + name + " announces " + std::to_string(table->num_rows) + " rows but "
                            + std::to_string(rowsRead) + " can be read");
        return false;
    }
    ++rowsRead;
    return true;
}

std::size_t JetTable::Impl::columnNamed(const char *wanted, JetValue::Kind kind) const
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (g_ascii_strcasecmp(columns[i].name.c_str(), wanted) == 0 && columns[i].kind == kind)
            return i;
    }
    throw JetDamage("the table " + name + " has no column " + wanted + " of the right type");
}

// mdb_fetch_row walks the data pages the same way, but cracks each row for
// bound columns (which could not tell Null from empty text) and leaves the
// null mask and offsets to be cracked a second time: half the reading of a
// row. Here each row is cracked once. Rows libmdb skips are skipped alike:
// deleted ones, and those it cannot locate or crack; and here also those too
// short to crack safely (the count of rows read then falls short of the
// table's own, which nextRow reports).
bool JetTable::Impl::fetchAndCrackNextRow()
{
    constexpr int kOffsetMask = 0x1FFF;
    constexpr int kDeleted = 0x4000;
    MdbHandle *handle = mdb();
    if (table->num_rows == 0)
        return false;
    if (table->cur_pg_num == 0) {
        table->cur_pg_num = 1;
        table->cur_row = 0;
        if (!mdb_read_next_dpg(table))
            return false;
    }
    for (;;) {
        const unsigned int rowsOnPage = mdb_get_int16(handle->pg_buf, handle->fmt->row_count_offset);
        if (table->cur_row >= rowsOnPage) {
            table->cur_row = 0;
            if (!mdb_read_next_dpg(table))
                return false;
            continue;
        }
        const int row = static_cast<int>(table->cur_row++);
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(handle, row, &start, &size) != 0 || (start & kDeleted) != 0
            || !holdsItsHeader(handle, start & kOffsetMask, size))
            continue;
        if (mdb_crack_row(table, start & kOffsetMask, size, fields.data()) >= 0)
            return true;
    }
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
        value.real = singleAsShown(mdb_get_single(mdb()->pg_buf, at));
        break;
    case MDB_DOUBLE:
        value.real = mdb_get_double(mdb()->pg_buf, at);
        break;
    case MDB_BINARY:
        value.bytes.assign(reinterpret_cast<const char *>(pg) + at, field.siz);
        break;
    case MDB_OLE:
        value.bytes = readMemoBytes(mdb(), {reinterpret_cast<const char *>(pg) + at, std::size_t(field.siz)}, file->pageCount);
        break;
    case MDB_DATETIME:
        if (const auto when = civilFromJetDate(mdb_get_double(mdb()->pg_buf, at))) {
            value.bytes = formatDateText(*when);
        } else {
            // No calendar date (beyond the years 100 to 9999): the stored
            // number itself, rather than a date it is not.
            value.kind = JetValue::Real;
            value.real = mdb_get_double(mdb()->pg_buf, at);
            return;
        }
        break;
    case MDB_NUMERIC:
        readDecimal(pg + at, column, value);
        break;
    default:
        readText(field, column, value);
        break;
    }
    value.kind = columns[i].kind;
    file->spend(value.bytes.size() + 8);
}

void JetTable::Impl::readDecimal(const unsigned char *stored, const MdbColumn &column, JetValue &value)
{
    // libmdb reads the value where the row lies in its page buffer.
    const auto start = static_cast<int>(stored - static_cast<const unsigned char *>(mdb()->pg_buf));
    char *text = mdb_numeric_to_string(mdb(), start, column.col_scale, column.col_prec);
    value.bytes = text ? text : "";
    g_free(text);
}

void JetTable::Impl::readText(const MdbField &field, const MdbColumn &column, JetValue &value)
{
    const auto *pg = reinterpret_cast<const char *>(mdb()->pg_buf);
    const std::string_view stored(pg + field.start, static_cast<std::size_t>(field.siz));
    // Text is by far the most common value: its path stays a direct call.
    if (column.col_type == MDB_TEXT) {
        appendText(stored, value.bytes);
    } else if (column.col_type == MDB_MEMO) {
        appendText(readMemoBytes(mdb(), stored, file->pageCount), value.bytes);
    } else {
        // Currency (exact, with four decimals) and replication ids: libmdb's
        // own text for them.
        char *text = mdb_col_to_string(mdb(), mdb()->pg_buf, field.start, column.col_type, field.siz);
        value.bytes = text ? text : "";
        g_free(text);
    }
}

// libmdb's own catalog reader (mdb_read_catalog) also parses every object's
// property list, where a damaged length makes it loop for ever, and walks the
// catalog's pages before anything checks that it has a page map. The program
// needs neither the properties nor libmdb's list: the catalog is read here
// like any table, through the same guarded row reading, and only the four
// columns that locate an object.
void JetFile::Impl::readCatalog()
{
    MdbCatalogEntry msysObjects{};
    msysObjects.mdb = mdb;
    msysObjects.object_type = MDB_TABLE;
    msysObjects.table_pg = 2;
    std::snprintf(msysObjects.object_name, sizeof msysObjects.object_name, "%s", "MSysObjects");
    try {
        JetTable::Impl reader;
        reader.open(this, &msysObjects);
        const std::size_t id = reader.columnNamed("Id", JetValue::Integer);
        const std::size_t name = reader.columnNamed("Name", JetValue::Text);
        const std::size_t type = reader.columnNamed("Type", JetValue::Integer);
        const std::size_t flags = reader.columnNamed("Flags", JetValue::Integer);
        while (reader.nextCrackedRow()) {
            for (const std::size_t column : {id, name, type, flags})
                reader.readField(column);
            // A Null reads as libmdb reads it: an empty name, a zero number.
            const auto number = [&](std::size_t column) {
                return reader.values[column].kind == JetValue::Null ? 0 : reader.values[column].integer;
            };
            auto entry = std::make_unique<MdbCatalogEntry>();
            entry->mdb = mdb;
            std::snprintf(entry->object_name, sizeof entry->object_name, "%s", reader.values[name].bytes.c_str());
            // As Jet keeps them: the object's kind in the low seven bits of
            // its type, its definition page in the low three bytes of its id.
            entry->object_type = static_cast<int>(number(type) & 0x7F);
            entry->table_pg = static_cast<unsigned long>(number(id) & 0x00FFFFFF);
            entry->flags = static_cast<int>(number(flags));
            catalog.push_back(std::move(entry));
        }
    } catch (const JetDamage &damage) {
        throw JetDamage(std::string("its list of tables cannot be read: ") + damage.what());
    }
}

} // namespace platform::db
