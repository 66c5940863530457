#include "MdbExport.h"

#include <QProcess>

namespace {

bool runTool(const QString &program, const QStringList &arguments, QByteArray *output, QString *error)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (error)
            *error = program + " failed: " + process.errorString() + " " + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    *output = process.readAllStandardOutput();
    return true;
}

} // namespace

QList<QStringList> parseMdbExportCsv(const QByteArray &csv, QString *error)
{
    QList<QStringList> rows;
    QStringList row;
    QByteArray field;
    bool quoted = false;
    bool inQuotes = false;
    auto endField = [&] {
        row.append(quoted ? QString::fromUtf8(field) : (field.isEmpty() ? nullField : QString::fromUtf8(field)));
        field.clear();
        quoted = false;
    };
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
                field.append('"');
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field.append(c);
            }
        } else if (c == '"') {
            inQuotes = quoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n') {
            endField();
            rows.append(row);
            row.clear();
        } else {
            field.append(c);
        }
    }
    if (inQuotes && error)
        *error = "unterminated quoted field";
    if (!row.isEmpty() || !field.isEmpty()) {
        endField();
        rows.append(row);
    }
    return rows;
}

ExportedTable exportTable(const QString &mdbFile, const QString &table, QString *error)
{
    QByteArray csv;
    if (!runTool("mdb-export", {mdbFile, table}, &csv, error))
        return {};
    QList<QStringList> rows = parseMdbExportCsv(csv, error);
    if (rows.isEmpty()) {
        if (error)
            *error = "mdb-export printed nothing for " + table;
        return {};
    }
    ExportedTable exported;
    exported.columns = rows.takeFirst();
    exported.rows = std::move(rows);
    return exported;
}

long long countRows(const QString &mdbFile, const QString &table)
{
    QByteArray output;
    if (!runTool("mdb-count", {mdbFile, table}, &output, nullptr))
        return -1;
    bool ok = false;
    const long long count = output.trimmed().toLongLong(&ok);
    return ok ? count : -1;
}
