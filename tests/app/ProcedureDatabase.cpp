#include "ProcedureDatabase.h"

#include "mdb/JetWriter.h"

#include <QDir>
#include <QFile>

namespace apptest {

QString writeProcedureDatabase(const QString &folder, int count)
{
    const QString path = QDir(folder).filePath(QStringLiteral("pcs.mdb"));
    mdb::JetWriter writer(path.toStdString());
    const auto longPcs = writer.addTable("longpcs", {{"ID", mdb::ColumnType::Long},
                                                     {"Description", mdb::ColumnType::Text, 255}});
    std::vector<mdb::ColumnDefinition> detailColumns = {{"ID", mdb::ColumnType::Long},
                                                  {"Description", mdb::ColumnType::Text, 255},
                                                  {"code", mdb::ColumnType::Text, 7},
                                                  {"pcs9", mdb::ColumnType::Text, 5},
                                                  {"pcs9desc", mdb::ColumnType::Text, 255}};
    for (int n = 1; n <= 7; ++n)
        detailColumns.push_back({"character " + std::to_string(n), mdb::ColumnType::Text, 255});
    const auto getAllData = writer.addTable("getalldata", detailColumns);

    for (int id = 1; id <= count; ++id) {
        const std::string description = "Procedure number " + std::to_string(id) + " of the fixture";
        writer.appendRow(longPcs, {std::int32_t(id), description});
        std::vector<mdb::Value> row = {std::int32_t(id), description, std::string("0ABC") + std::to_string(100 + id % 900),
                                       std::string("00.01"), std::string("Fixture ICD-9 title")};
        for (int n = 1; n <= 7; ++n)
            row.emplace_back("Meaning " + std::to_string(n));
        writer.appendRow(getAllData, row);
    }
    writer.finish();
    return path;
}

QString writeDamagedDatabase(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("pcs.mdb"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(8192, '\x5A'));
    return path;
}

} // namespace apptest
