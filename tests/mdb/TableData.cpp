#include "tests/mdb/TableData.h"

#include <QCryptographicHash>
#include <QStringDecoder>

namespace mdbtest {

void writeDatabase(const QString &path, const std::vector<TableData> &tables)
{
    mdb::JetWriter writer(path.toStdString());
    std::vector<mdb::JetWriter::TableHandle> handles;
    for (const TableData &table : tables)
        handles.push_back(writer.addTable(table.name, table.columns));
    for (std::size_t n = 0; n < tables.size(); ++n)
        for (const Row &row : tables[n].rows)
            writer.appendRow(handles[n], row);
    writer.finish();
}

QString describe(const mdb::Value &value)
{
    if (const auto *number = std::get_if<std::int32_t>(&value))
        return QString::number(*number);
    if (const auto *text = std::get_if<std::string>(&value)) {
        // QString::fromUtf8 would drop a leading U+FEFF; show it visibly.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
        const QString full = QString(decoder.decode(QByteArrayView(text->data(), qsizetype(text->size()))))
                                 .replace(QChar(0xFEFF), "<U+FEFF>");
        const QString shown = full.size() > 60 ? full.left(60) + "…" : full;
        return "\"" + shown + "\" (" + QString::number(full.size()) + " chars)";
    }
    return "Null";
}

QString compareRows(const std::vector<Row> &actual, const std::vector<Row> &expected, const std::string &table)
{
    const QString name = QString::fromStdString(table);
    for (std::size_t r = 0; r < std::min(actual.size(), expected.size()); ++r) {
        if (actual[r].size() != expected[r].size())
            return QString("%1 row %2: %3 values, expected %4").arg(name).arg(r + 1).arg(actual[r].size()).arg(expected[r].size());
        for (std::size_t c = 0; c < actual[r].size(); ++c)
            if (actual[r][c] != expected[r][c])
                return QString("%1 row %2 column %3: read %4, expected %5")
                    .arg(name).arg(r + 1).arg(c + 1).arg(describe(actual[r][c]), describe(expected[r][c]));
    }
    if (actual.size() != expected.size())
        return QString("%1: %2 rows read, expected %3").arg(name).arg(actual.size()).arg(expected.size());
    return {};
}

Row asLibmdbSeesIt(const Row &row, const std::vector<mdb::ColumnDefinition> &columns)
{
    Row seen = row;
    for (std::size_t c = 0; c < seen.size() && c < columns.size(); ++c)
        if (columns[c].type != mdb::ColumnType::Long && std::holds_alternative<std::monostate>(seen[c]))
            seen[c] = std::string();
    return seen;
}

std::vector<Row> asLibmdbSeesIt(const TableData &table)
{
    std::vector<Row> rows;
    rows.reserve(table.rows.size());
    for (const Row &row : table.rows)
        rows.push_back(asLibmdbSeesIt(row, table.columns));
    return rows;
}

struct RowDigest::State {
    QCryptographicHash hash{QCryptographicHash::Sha256};
    QByteArray line;
};

RowDigest::RowDigest() : state_(std::make_unique<State>()) {}
RowDigest::~RowDigest() = default;

void RowDigest::add(const Row &row)
{
    QByteArray &line = state_->line;
    line.clear();
    for (const mdb::Value &value : row) {
        if (const auto *number = std::get_if<std::int32_t>(&value)) {
            line += 'I' + QByteArray::number(*number) + ';';
        } else if (const auto *text = std::get_if<std::string>(&value)) {
            line += 'S' + QByteArray::number(qsizetype(text->size())) + ':';
            line.append(text->data(), qsizetype(text->size()));
            line += ';';
        } else {
            line += "N;";
        }
    }
    line += '\n';
    state_->hash.addData(line);
}

QByteArray RowDigest::hex() { return state_->hash.result().toHex(); }

} // namespace mdbtest
