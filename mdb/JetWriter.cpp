#include "mdb/JetWriter.h"

#include <set>

#include "mdb/Catalog.h"
#include "mdb/FileHeader.h"
#include "mdb/NameRules.h"
#include "mdb/PageFile.h"
#include "mdb/RowPages.h"
#include "mdb/SavedQueries.h"
#include "mdb/TableDefinition.h"
#include "mdb/TableWriter.h"
#include "mdb/UsageMap.h"

namespace mdb {

namespace {

constexpr std::uint32_t kMapPageOwner = 0;

// Catalog ids of saved queries carry the high bit, as Access's do; the low
// 24 bits, which readers take for a page, lie far beyond any page of a 2 GB
// file, so no query is ever mistaken for a table.
constexpr std::uint32_t kFirstQueryId = 0x80F00000u;

FieldDeclaration declare(const ColumnDefinition &column, const std::string &tableName, std::size_t position)
{
    switch (column.type) {
    case ColumnType::Long: return {column.name, FieldType::Long, 0};
    case ColumnType::Memo: return {column.name, FieldType::Memo, 0};
    case ColumnType::Text:
        if (column.textLength < 1 || column.textLength > jet::kMaxTextLength)
            throw WriterError(describeTable(tableName) + ", column \"" + column.name + "\" (column " +
                              std::to_string(position + 1) + "): text length " + std::to_string(column.textLength) +
                              " is outside 1 to " + std::to_string(jet::kMaxTextLength));
        return {column.name, FieldType::Text, std::uint16_t(2 * column.textLength)};
    }
    throw WriterError(describeTable(tableName) + ", column \"" + column.name + "\": unknown column type");
}

} // namespace

struct JetWriter::Impl {
    enum class State { Open, Finished, Failed };

    explicit Impl(std::filesystem::path target) : file(std::move(target))
    {
        for (std::uint32_t page = 0; page <= jet::kCatalogDefinitionPage; ++page)
            file.reservePage();
        tableKeys.insert(nameKey(catalogLayout().nameUtf16));
        tableKeys.insert(nameKey(queriesLayout().nameUtf16));
    }

    void requireOpen() const
    {
        if (state == State::Finished)
            throw WriterError("The database \"" + file.target().string() + "\" is already finished");
        if (state == State::Failed || !file.isOpen())
            throw WriterError("Writing the database \"" + file.target().string() + "\" failed earlier");
    }

    TableWriter &table(TableHandle handle)
    {
        if (handle >= tables.size())
            throw WriterError("No table with handle " + std::to_string(handle));
        return *tables[handle];
    }

    static std::int32_t queryId(std::size_t index) { return std::int32_t(kFirstQueryId + index); }

    void writeCatalogRows(TableWriter &catalog, const TableWriter *queryTable)
    {
        for (const auto &table : tables)
            catalog.append(catalogRow(table->layout().name, table->definitionPage()));
        if (queryTable) {
            // Tools that look a query up find MSysObjects through its own row.
            catalog.append(systemCatalogRow(kCatalogName, jet::kCatalogDefinitionPage));
            catalog.append(systemCatalogRow(queryTable->layout().name, queryTable->definitionPage()));
        }
        for (std::size_t n = 0; n < queries.size(); ++n)
            catalog.append(queryCatalogRow(queries[n].name, queryId(n)));
        catalog.close();
    }

    // Only a file with saved queries gets MSysQueries: files without any
    // stay exactly as before.
    std::unique_ptr<TableWriter> writeQueries()
    {
        if (queries.empty())
            return nullptr;
        auto table = std::make_unique<TableWriter>(file, queriesLayout(), file.reservePage());
        for (std::size_t n = 0; n < queries.size(); ++n) {
            for (const std::vector<Value> &row : selectQueryRows(queries[n], queryId(n)))
                table->append(row);
        }
        table->close();
        return table;
    }

    TableDefinition mapTable(const TableWriter &table, RowPages &maps)
    {
        TableDefinition definition;
        definition.layout = &table.layout();
        definition.rowCount = table.rowCount();
        definition.usedPages = addRow(maps, buildUsageMap(table.dataPages(), file));
        definition.freePages = addRow(maps, emptyUsageMap());
        for (const Field &field : table.layout().fields) {
            if (!field.isLongValue())
                continue;
            LongValueMaps lv;
            lv.column = field.number;
            lv.usedPages = addRow(maps, buildUsageMap(table.longValuePages(field.number), file));
            lv.freePages = addRow(maps, emptyUsageMap());
            definition.longValueMaps.push_back(lv);
        }
        return definition;
    }

    static std::uint32_t addRow(RowPages &pages, const std::vector<std::uint8_t> &row)
    {
        return pages.add(row.data(), row.size());
    }

    void finish()
    {
        for (const auto &table : tables)
            table->close();
        const std::unique_ptr<TableWriter> queryTable = writeQueries();
        TableWriter catalog(file, catalogLayout(), jet::kCatalogDefinitionPage);
        writeCatalogRows(catalog, queryTable.get());

        std::vector<const TableWriter *> written{&catalog};
        for (const auto &table : tables)
            written.push_back(table.get());
        if (queryTable)
            written.push_back(queryTable.get());
        // Every usage map must exist before any definition can point at it.
        RowPages maps(file, kMapPageOwner);
        std::vector<TableDefinition> definitions;
        for (const TableWriter *table : written)
            definitions.push_back(mapTable(*table, maps));
        maps.close();

        for (std::size_t n = 0; n < written.size(); ++n)
            writeTableDefinition(file, written[n]->definitionPage(), definitions[n]);

        // Page 1 is Access's global usage map; no reader uses it.
        const Page globalMap{};
        file.writePage(1, globalMap.data());
        const Page header = buildFileHeaderPage();
        file.writePage(0, header.data());
        file.commit();
    }

    PageFile file;
    std::vector<std::unique_ptr<TableWriter>> tables;
    std::vector<SavedSelectQuery> queries;
    std::set<std::u16string> tableKeys; // queries share the names of tables
    State state = State::Open;
};

JetWriter::JetWriter(std::filesystem::path target) : d(std::make_unique<Impl>(std::move(target))) {}

JetWriter::~JetWriter() = default;

JetWriter::TableHandle JetWriter::addTable(const std::string &name, const std::vector<ColumnDefinition> &columns)
{
    d->requireOpen();
    std::vector<FieldDeclaration> fields;
    fields.reserve(columns.size());
    for (std::size_t n = 0; n < columns.size(); ++n)
        fields.push_back(declare(columns[n], name, n));
    TableLayout layout = makeTableLayout(name, fields, false);
    if (!d->tableKeys.insert(nameKey(layout.nameUtf16)).second)
        throw WriterError("Table name \"" + name + "\" is used more than once");
    const std::uint32_t definitionPage = d->file.reservePage();
    d->tables.push_back(std::make_unique<TableWriter>(d->file, std::move(layout), definitionPage));
    return d->tables.size() - 1;
}

void JetWriter::addSelectQuery(const SavedSelectQuery &query)
{
    d->requireOpen();
    std::u16string utf16;
    if (std::string problem = checkObjectName(query.name, utf16); !problem.empty())
        throw WriterError("Query name \"" + query.name + "\" " + problem);
    checkSelectQuery(query);
    if (!d->tableKeys.insert(nameKey(utf16)).second)
        throw WriterError("Query name \"" + query.name + "\" is used more than once");
    d->queries.push_back(query);
}

void JetWriter::appendRow(TableHandle table, const std::vector<Value> &values)
{
    d->requireOpen();
    d->table(table).append(values);
}

void JetWriter::finish()
{
    d->requireOpen();
    d->state = Impl::State::Failed;
    d->finish();
    d->state = Impl::State::Finished;
}

} // namespace mdb
