#include "tests/mdb/MdbCliTools.h"

#include <QProcess>
#include <QStandardPaths>
#include <stdexcept>

namespace mdbtest {

namespace {

constexpr int kTimeoutMs = 120000;

struct CsvField {
    std::string text;
    bool quoted = false;
};

// Splits CSV into records; quoted fields may hold commas, doubled quotes and
// line breaks.
std::vector<std::vector<CsvField>> splitCsv(const QByteArray &csv)
{
    std::vector<std::vector<CsvField>> records;
    std::vector<CsvField> record;
    CsvField field;
    bool inQuotes = false;
    for (qsizetype at = 0; at < csv.size(); ++at) {
        const char c = csv[at];
        if (inQuotes) {
            if (c == '"' && at + 1 < csv.size() && csv[at + 1] == '"') {
                field.text += '"';
                ++at;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field.text += c;
            }
        } else if (c == '"') {
            inQuotes = true;
            field.quoted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field = {};
        } else if (c == '\n') {
            record.push_back(std::move(field));
            field = {};
            records.push_back(std::move(record));
            record.clear();
        } else if (c != '\r') {
            field.text += c;
        }
    }
    if (!field.text.empty() || field.quoted || !record.empty()) {
        record.push_back(std::move(field));
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace

QByteArray runMdbTool(const QString &program, const QStringList &arguments)
{
    const QString executable = QStandardPaths::findExecutable(program);
    if (executable.isEmpty())
        throw std::runtime_error(program.toStdString() + " is not installed (Debian package mdbtools)");
    QProcess process;
    process.start(executable, arguments);
    if (!process.waitForFinished(kTimeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        throw std::runtime_error(program.toStdString() + " " + arguments.join(' ').toStdString() + " failed: " +
                                 process.readAllStandardError().trimmed().toStdString());
    }
    return process.readAllStandardOutput();
}

std::vector<Row> parseExportCsv(const QByteArray &csv, const std::vector<mdb::ColumnDefinition> &columns)
{
    std::vector<std::vector<CsvField>> records = splitCsv(csv);
    if (records.empty())
        throw std::runtime_error("mdb-export printed no header line");
    std::vector<Row> rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const std::vector<CsvField> &record = records[r];
        if (record.size() != columns.size())
            throw std::runtime_error("mdb-export line " + std::to_string(r + 1) + " has " +
                                     std::to_string(record.size()) + " fields");
        Row row;
        for (std::size_t c = 0; c < record.size(); ++c) {
            const CsvField &field = record[c];
            if (columns[c].type != mdb::ColumnType::Long)
                row.emplace_back(field.text);
            else if (field.text.empty())
                row.emplace_back();
            else
                row.emplace_back(std::int32_t(std::stol(field.text)));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace mdbtest
