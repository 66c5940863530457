#include "tests/mdb/MdbReaderJs.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <stdexcept>

namespace mdbtest {

namespace {

const QString kNodeDir = QStringLiteral(VORIMEL_NODE_DIR);
const QString kScript = QStringLiteral(VORIMEL_SOURCE_DIR "/tests/mdb/mdb-reader-dump.mjs");
constexpr int kTimeoutMs = 120000;

mdb::Value toValue(const QJsonValue &json)
{
    if (json.isDouble())
        return std::int32_t(json.toDouble());
    if (json.isString())
        return json.toString().toStdString();
    return {};
}

ReaderTable toTable(const QJsonObject &json)
{
    ReaderTable table;
    table.name = json["name"].toString().toStdString();
    table.rowCount = json["rowCount"].toInteger();
    table.dataRows = json["dataRows"].toInteger();
    table.digest = json["digest"].toString().toLatin1();
    for (const QJsonValue &column : json["columns"].toArray())
        table.columns.push_back({column["name"].toString().toStdString(), column["type"].toString().toStdString(),
                                 column["size"].toInt()});
    for (const QJsonValue &rowJson : json["rows"].toArray()) {
        Row row;
        for (const QJsonValue &value : rowJson.toArray())
            row.push_back(toValue(value));
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace

std::vector<ReaderTable> readWithMdbReader(const QString &path, const ReaderOptions &options)
{
    const QString node = QStandardPaths::findExecutable("node");
    if (node.isEmpty())
        throw std::runtime_error("node is not installed; the tests need it to run mdb-reader (see scripts/setup)");
    if (!QFileInfo::exists(kNodeDir + "/node_modules/mdb-reader/package.json"))
        throw std::runtime_error("mdb-reader is not installed in " + kNodeDir.toStdString() +
                                 "/node_modules; scripts/setup installs it (npm install --prefix <dir> "
                                 "mdb-reader@3.2.0) and VORIMEL_NODE_DIR must name that folder");
    QStringList arguments{kScript, kNodeDir, path};
    if (options.digestOnly)
        arguments << "--digest";
    if (options.table)
        arguments << "--table=" + QString::fromStdString(*options.table);
    if (options.systemTables)
        arguments << "--system";
    QProcess process;
    process.start(node, arguments);
    if (!process.waitForFinished(kTimeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        throw std::runtime_error("mdb-reader could not read " + path.toStdString() + ": " +
                                 process.readAllStandardError().trimmed().toStdString());
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(process.readAllStandardOutput(), &error);
    if (document.isNull())
        throw std::runtime_error("mdb-reader's output is not JSON: " + error.errorString().toStdString());
    std::vector<ReaderTable> tables;
    for (const QJsonValue &table : document["tables"].toArray())
        tables.push_back(toTable(table.toObject()));
    return tables;
}

} // namespace mdbtest
