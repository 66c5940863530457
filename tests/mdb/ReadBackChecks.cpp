#include "tests/mdb/ReadBackChecks.h"

#include <QRegularExpression>
#include <algorithm>
#include <stdexcept>

#include "tests/mdb/LibmdbReader.h"
#include "tests/mdb/MdbCliTools.h"
#include "tests/mdb/MdbReaderJs.h"

namespace mdbtest {

namespace {

QString qs(const std::string &text) { return QString::fromStdString(text); }

QStringList namesOf(const std::vector<TableData> &tables)
{
    QStringList names;
    for (const TableData &table : tables)
        names << qs(table.name);
    return names;
}

// Jet's type code and definition length for a column definition.
std::pair<int, int> jetTypeOf(const mdb::ColumnDefinition &column)
{
    switch (column.type) {
    case mdb::ColumnType::Long: return {0x04, 4};
    case mdb::ColumnType::Text: return {0x0A, 2 * column.textLength};
    case mdb::ColumnType::Memo: return {0x0C, 0};
    }
    return {0, 0};
}

const char *readerTypeOf(mdb::ColumnType type)
{
    switch (type) {
    case mdb::ColumnType::Long: return "long";
    case mdb::ColumnType::Text: return "text";
    case mdb::ColumnType::Memo: return "memo";
    }
    return "";
}

QString schemaTypeOf(const mdb::ColumnDefinition &column)
{
    switch (column.type) {
    case mdb::ColumnType::Long: return "Long Integer";
    case mdb::ColumnType::Text: return QString("Text (%1)").arg(column.textLength);
    case mdb::ColumnType::Memo: return "Memo/Hyperlink (255)";
    }
    return {};
}

template <typename Check>
QString guarded(const char *reader, Check check)
{
    try {
        return check();
    } catch (const std::exception &error) {
        return QString("%1: %2").arg(reader, QString::fromUtf8(error.what()));
    }
}

} // namespace

QString checkWithLibmdb(const QString &path, const std::vector<TableData> &tables)
{
    return guarded("libmdb", [&]() -> QString {
        LibmdbFile file(path);
        if (file.userTables() != namesOf(tables))
            return "libmdb lists tables " + file.userTables().join(", ") + ", expected " + namesOf(tables).join(", ");
        for (const TableData &table : tables) {
            const std::vector<LibmdbColumn> columns = file.columns(table.name);
            if (columns.size() != table.columns.size())
                return QString("libmdb: %1 has %2 columns").arg(qs(table.name)).arg(columns.size());
            for (std::size_t c = 0; c < columns.size(); ++c) {
                const auto [type, length] = jetTypeOf(table.columns[c]);
                if (columns[c].name != table.columns[c].name || columns[c].type != type || columns[c].length != length)
                    return QString("libmdb: %1 column %2 reads as \"%3\" type %4 length %5")
                        .arg(qs(table.name)).arg(c + 1).arg(qs(columns[c].name)).arg(columns[c].type).arg(columns[c].length);
            }
            if (QString difference = compareRows(file.rows(table.name), asLibmdbSeesIt(table), table.name); !difference.isEmpty())
                return "libmdb: " + difference;
        }
        return {};
    });
}

QString checkWithMdbReader(const QString &path, const std::vector<TableData> &tables)
{
    return guarded("mdb-reader", [&]() -> QString {
        const std::vector<ReaderTable> read = readWithMdbReader(path);
        QStringList names;
        for (const ReaderTable &table : read)
            names << qs(table.name);
        if (names != namesOf(tables))
            return "mdb-reader lists tables " + names.join(", ") + ", expected " + namesOf(tables).join(", ");
        for (std::size_t t = 0; t < tables.size(); ++t) {
            const TableData &expected = tables[t];
            const ReaderTable &actual = read[t];
            const auto rows = static_cast<long long>(expected.rows.size());
            if (actual.rowCount != rows)
                return QString("mdb-reader: %1 says %2 rows, expected %3").arg(qs(expected.name)).arg(actual.rowCount).arg(rows);
            for (std::size_t c = 0; c < expected.columns.size() && c < actual.columns.size(); ++c)
                if (actual.columns[c].name != expected.columns[c].name ||
                    actual.columns[c].type != readerTypeOf(expected.columns[c].type))
                    return QString("mdb-reader: %1 column %2 reads as \"%3\" of type %4")
                        .arg(qs(expected.name)).arg(c + 1).arg(qs(actual.columns[c].name), qs(actual.columns[c].type));
            if (actual.columns.size() != expected.columns.size())
                return QString("mdb-reader: %1 has %2 columns").arg(qs(expected.name)).arg(actual.columns.size());
            if (QString difference = compareRows(actual.rows, expected.rows, expected.name); !difference.isEmpty())
                return "mdb-reader: " + difference;
        }
        return {};
    });
}

QString checkWithCliTools(const QString &path, const std::vector<TableData> &tables)
{
    return guarded("mdbtools", [&]() -> QString {
        const QStringList listed = QString::fromUtf8(runMdbTool("mdb-tables", {"-1", path})).split('\n', Qt::SkipEmptyParts);
        if (listed != namesOf(tables))
            return "mdb-tables lists " + listed.join(", ") + ", expected " + namesOf(tables).join(", ");
        const QString schema = QString::fromUtf8(runMdbTool("mdb-schema", {path}));
        for (const TableData &table : tables) {
            const QString name = qs(table.name);
            const QString count = QString::fromUtf8(runMdbTool("mdb-count", {path, name})).trimmed();
            if (count != QString::number(table.rows.size()))
                return QString("mdb-count %1 says %2, expected %3").arg(name, count).arg(table.rows.size());
            for (const mdb::ColumnDefinition &column : table.columns) {
                const QRegularExpression line("\\[" + QRegularExpression::escape(qs(column.name)) + "\\]\\s+" +
                                              QRegularExpression::escape(schemaTypeOf(column)));
                if (!schema.contains(line))
                    return QString("mdb-schema does not show %1.[%2] as %3").arg(name, qs(column.name), schemaTypeOf(column));
            }
            const std::vector<Row> exported = parseExportCsv(runMdbTool("mdb-export", {path, name}), table.columns);
            if (QString difference = compareRows(exported, asLibmdbSeesIt(table), table.name); !difference.isEmpty())
                return "mdb-export: " + difference;
        }
        return {};
    });
}

} // namespace mdbtest
