#include "FixtureDatabase.h"

#include "mdb/JetWriter.h"
#include "platform/db/Database.h"
#include "tests/platform/db/db_fixture.h"

#include <QDir>
#include <QtTest>

#include <algorithm>

namespace fixture {

const std::vector<Procedure> &procedures()
{
    static const std::vector<Procedure> rows = {
        {1, "Bypass Coronary Artery, One Artery from Aorta with Autologous Venous Tissue, Open Approach"},
        {2, "bypass coronary artery, two arteries from aorta, open approach"},
        {3, "Excision of Crohn's Lesion of Small Intestine"},
        {4, "Drainage of Left Kidney, 100% Open"},
        {5, "Replacement of Left Hip Joint with Synthetic Substitute"},
        {6, "Insertion of Pacemaker Lead into Right Atrium"},
        {7, "alpha Check Procedure"},
        {8, "Perfusion of Heart with Organ Preservation"},
        {9, "Removal of Drainage Device from Peripheral Nerve"},
        {10, "Bypass   Coronary Artery with three spaces"},
        {11, "Insertion of Pacemaker into Heart, Percutaneous"},
    };
    return rows;
}

const std::vector<Detail> &details()
{
    static const std::vector<Detail> rows = {
        {1, "0210093", "36.11", "(Aorto)coronary bypass of one coronary artery"},
        {2, "0211093", "36.12", "(Aorto)coronary bypass of two coronary arteries"},
        {3, "0DBB0ZZ", "45.62", "Other partial resection of small intestine"},
        {4, "0T9100Z", "55.01", "Nephrotomy"},
        {5, "0SRB019", "81.51", "Total hip replacement"},
        {5, "0SRB019", "81.52", "Partial hip replacement"},
        {6, "02H63JZ", "37.80", "Insertion of permanent pacemaker, initial or replacement, type of device not specified"},
        {6, "02H63JZ", "37.81", "Initial insertion of single-chamber device, not specified as rate responsive"},
        {6, "02H63JZ", "37.82", "Initial insertion of single-chamber device, rate responsive"},
        {7, "0Q0000Z", "00.01", "Therapeutic ultrasound of vessels of head and neck"},
        {7, "0Q0000Z", "99.99", "Other miscellaneous procedures"},
        {8, "6AB50BZ", "NoI9", "No ICD-9 equivalent"},
        {8, "6AB50BZ", std::nullopt, "Newer than the GEM"},
        {9, "01PY07Z", "04.93", "Removal of peripheral neurostimulator lead(s)"},
        {10, "0210344", "36.19", "Other bypass anastomosis for heart revascularization"},
        {11, "02HK3JZ", "37.70", "Initial insertion of lead [electrode], not otherwise specified"},
    };
    return rows;
}

std::string characterMeaning(const Detail &detail, int n)
{
    return "Meaning " + std::to_string(n) + " of " + detail.code + " for " + detail.pcs9.value_or("none");
}

namespace {

const Procedure &procedureOf(const Detail &d)
{
    return *std::find_if(procedures().begin(), procedures().end(), [&](const Procedure &p) { return p.id == d.id; });
}

// The same rows as the getalldata table, from two tables and a saved query.
void writeDetailsAsSavedQuery(mdb::JetWriter &writer)
{
    using mdb::ColumnType;
    const auto codes = writer.addTable(
        "procedure codes", {{"ID", ColumnType::Long}, {"Description", ColumnType::Text, 255}, {"code", ColumnType::Text, 7}});
    std::vector<int> written;
    for (const Detail &d : details()) {
        if (std::find(written.begin(), written.end(), d.id) != written.end())
            continue;
        written.push_back(d.id);
        writer.appendRow(codes, {std::int32_t(d.id), procedureOf(d).description, d.code});
    }
    std::vector<mdb::ColumnDefinition> columns = {
        {"ID", ColumnType::Long}, {"pcs9", ColumnType::Text, 5}, {"pcs9desc", ColumnType::Text, 255}};
    for (int n = 1; n <= 7; ++n)
        columns.push_back({"character " + std::to_string(n), ColumnType::Text, 255});
    const auto icd9 = writer.addTable("icd9", columns);
    for (const Detail &d : details()) {
        std::vector<mdb::Value> values = {std::int32_t(d.id), d.pcs9 ? mdb::Value(*d.pcs9) : mdb::Value(), d.pcs9desc};
        for (int n = 1; n <= 7; ++n)
            values.emplace_back(characterMeaning(d, n));
        writer.appendRow(icd9, values);
    }
    mdb::SavedSelectQuery query;
    query.name = "getalldata";
    query.tables = {"procedure codes", "icd9"};
    query.columns = {{"[procedure codes].ID", ""}, {"[procedure codes].Description", ""},
                     {"[procedure codes].code", ""}, {"icd9.pcs9", ""}, {"icd9.pcs9desc", ""}};
    for (int n = 1; n <= 7; ++n)
        query.columns.push_back({"icd9.[character " + std::to_string(n) + "]", ""});
    query.joins = {{"procedure codes", "icd9", "[procedure codes].ID = icd9.ID", mdb::JoinKind::Inner}};
    writer.addSelectQuery(query);
}

} // namespace

QString write(const QTemporaryDir &dir, Tables tables, const QString &name)
{
    const QString path = QDir(dir.path()).filePath(name);
    mdb::JetWriter writer(path.toStdString());
    using mdb::ColumnType;
    if (tables == Tables::Both && qEnvironmentVariableIsSet("VORIMEL_FIXTURE_SAVED_QUERY"))
        tables = Tables::DetailsAsSavedQuery;
    if (tables != Tables::DetailsOnly) {
        const auto longpcs =
            writer.addTable("longpcs", {{"ID", ColumnType::Long}, {"Description", ColumnType::Text, 255}});
        for (const Procedure &p : procedures())
            writer.appendRow(longpcs, {std::int32_t(p.id), p.description});
    }
    if (tables == Tables::DetailsAsSavedQuery) {
        writeDetailsAsSavedQuery(writer);
        writer.finish();
        return path;
    }
    const auto getalldata = writer.addTable("getalldata", dbtest::getalldataColumns());
    for (const Detail &d : details()) {
        std::vector<mdb::Value> values = {std::int32_t(d.id), procedureOf(d).description, d.code,
                                          d.pcs9 ? mdb::Value(*d.pcs9) : mdb::Value(), d.pcs9desc};
        for (int n = 1; n <= 7; ++n)
            values.emplace_back(characterMeaning(d, n));
        writer.appendRow(getalldata, values);
    }
    writer.finish();
    return path;
}

void openShared(const QString &file)
{
    auto &connection = platform::db::sharedConnection();
    if (connection.isOpen())
        connection.close();
    connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file
                                   + QStringLiteral(";Mode=Read"));
    connection.setCursorLocation(platform::db::adUseClient);
    connection.open();
}

void SharedFixtureTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    file_ = write(dir_);
    openShared(file_);
}

void SharedFixtureTest::cleanupTestCase()
{
    platform::db::releaseShared();
}

} // namespace fixture
