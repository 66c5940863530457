#include "tests/platform/db/db_fixture.h"

#include "mdb/JetWriter.h"

#include <QDir>

namespace dbtest {
namespace {

using mdb::ColumnDefinition;
using mdb::ColumnType;
using mdb::Value;

struct Procedure {
    int id;
    const char *description;
};

// Mixed case, accents, wildcard characters and a character outside the BMP.
const Procedure kProcedures[] = {
    {1, "Bypass Coronary Artery, One Artery from Aorta"},
    {2, "bypass coronary artery, two arteries"},
    {3, "Excision of Appendix"},
    {4, "\xC3\x89vacuation of Hematoma"},        // Évacuation
    {5, "\xC3\xA9vacuation of Fluid"},           // évacuation
    {6, "Drainage 100% complete"},
    {7, "Drainage of a_b"},
    {8, "Zebra Procedure \xF0\x9F\x98\x80"},     // U+1F600
    {9, "apple"},
    {10, "Banana"},
    {11, "cherry"},
};

std::string memoOf(int id)
{
    switch (id) {
    case 1: { // far longer than libmdb's default bind size: a chain of pages
        std::string text;
        for (int i = 0; text.size() < 100000; ++i)
            text += "Line " + std::to_string(i) + " of a long memo; ";
        return text;
    }
    case 2: { // one long-value row, not compressible
        std::string text;
        for (int i = 0; i < 1500; ++i)
            text += "\xE2\x80\x94"; // em dash
        return text;
    }
    case 3:
        return "";
    case 5:
        return "short inline";
    case 6:
        return "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80"; // 日本語 U+1F600
    default:
        return {};
    }
}

Value memoValue(int id)
{
    return id == 4 ? Value() : Value(memoOf(id));
}

std::vector<Value> detailRow(int id, const std::string &code, Value pcs9, Value pcs9desc)
{
    std::string description;
    for (const Procedure &p : kProcedures) {
        if (p.id == id)
            description = p.description;
    }
    std::vector<Value> row = {id, description, code, std::move(pcs9), std::move(pcs9desc)};
    for (int c = 1; c <= 7; ++c)
        row.emplace_back("meaning " + std::to_string(c) + " of " + code);
    return row;
}

} // namespace

std::vector<ColumnDefinition> getalldataColumns()
{
    std::vector<ColumnDefinition> columns = {{"ID", ColumnType::Long},
                                       {"Description", ColumnType::Text, 255},
                                       {"code", ColumnType::Text, 7},
                                       {"pcs9", ColumnType::Text, 5},
                                       {"pcs9desc", ColumnType::Text, 255}};
    for (int c = 1; c <= 7; ++c)
        columns.push_back({"character " + std::to_string(c), ColumnType::Text, 255});
    return columns;
}

QString writeFixture(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("pcs.mdb"));
    mdb::JetWriter writer(path.toStdString());
    const auto longpcs = writer.addTable("longpcs", {{"ID", ColumnType::Long}, {"Description", ColumnType::Text, 255}});
    for (const Procedure &p : kProcedures)
        writer.appendRow(longpcs, {p.id, std::string(p.description)});

    const auto details = writer.addTable("getalldata", getalldataColumns());
    writer.appendRow(details, detailRow(1, "0210093", std::string("36.11"), std::string("Bypass one")));
    writer.appendRow(details, detailRow(2, "0210094", std::string("36.12"), std::string("Bypass two")));
    writer.appendRow(details, detailRow(2, "0210094", std::string("36.13"), std::string("Bypass three")));
    writer.appendRow(details, detailRow(3, "0DTJ4ZZ", Value(), std::string("")));
    writer.appendRow(details, detailRow(4, "0W9G3ZZ", std::string("NoI9"), Value()));
    writer.appendRow(details, detailRow(5, "0W9G3ZX", std::string("54.91"), std::string("Percutaneous drainage")));

    const auto notes = writer.addTable("notes", {{"ID", ColumnType::Long}, {"Body", ColumnType::Memo}});
    for (int id = 1; id <= 6; ++id)
        writer.appendRow(notes, {id, memoValue(id)});
    writer.finish();
    return path;
}

QString fixtureMemo(int id)
{
    return QString::fromStdString(memoOf(id));
}

QString connectionStringFor(const QString &path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Mode=Read").arg(path);
}

void openFile(platform::db::Connection &connection, const QString &path)
{
    connection.setConnectionString(connectionStringFor(path));
    connection.open();
}

Rows runOn(platform::db::Connection &connection, const QString &statement)
{
    using namespace platform::db;
    Command command;
    command.setActiveConnection(&connection);
    command.setCommandText(statement);
    command.setCommandType(adCmdText);
    Recordset recordset;
    recordset.setCursorType(adOpenStatic);
    recordset.setCursorLocation(adUseClient);
    recordset.setLockType(adLockOptimistic);
    recordset.open(command);
    Rows rows;
    rows.names = recordset.fieldNames();
    if (!recordset.eof()) {
        recordset.moveFirst();
        while (!recordset.eof()) {
            QVariantList values;
            for (const QString &name : rows.names)
                values << recordset.field(name).value();
            rows.values.push_back(values);
            recordset.moveNext();
        }
    }
    recordset.close();
    return rows;
}

QStringList firstColumn(const Rows &rows)
{
    QStringList out;
    for (const QVariantList &row : rows.values)
        out << row.value(0).toString();
    return out;
}

} // namespace dbtest
