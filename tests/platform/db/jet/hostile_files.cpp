#include "tests/platform/db/jet/hostile_files.h"

#include "mdb/JetWriter.h"
#include "tests/platform/db/db_fixture.h"

namespace hostile {
namespace {

using mdb::ColumnType;

void addProcedures(mdb::JetWriter &writer, const std::string &table)
{
    const auto handle = writer.addTable(table, {{"ID", ColumnType::Long}, {"Description", ColumnType::Text, 255}});
    writer.appendRow(handle, {1, std::string("Bypass Coronary Artery, One Artery from Aorta")});
    writer.appendRow(handle, {2, std::string("Bypass Coronary Artery, Two Arteries")});
    writer.appendRow(handle, {3, std::string("Excision of Appendix")});
}

// The details the program reads for a chosen procedure.
void addDetails(mdb::JetWriter &writer)
{
    const auto details = writer.addTable("getalldata", dbtest::getalldataColumns());
    std::vector<mdb::Value> row = {1, std::string("Bypass Coronary Artery, One Artery from Aorta"),
                                   std::string("0210093"), std::string("36.11"), std::string("Bypass one")};
    for (int c = 1; c <= 7; ++c)
        row.emplace_back("meaning " + std::to_string(c));
    writer.appendRow(details, row);
}

mdb::SavedSelectQuery oneColumn(std::string name, std::string expression, std::string alias = {})
{
    mdb::SavedSelectQuery q;
    q.name = std::move(name);
    q.tables = {"procedures"};
    q.columns = {{std::move(expression), std::move(alias)}};
    return q;
}

// Text in Jet's quotes, each quote inside doubled.
std::string jetText(const std::string &value, char quote)
{
    std::string out(1, quote);
    for (char c : value)
        out += c == quote ? std::string(2, c) : std::string(1, c);
    return out + quote;
}

} // namespace

std::vector<InjectingQuery> writeInjectingFile(const std::string &path, const std::string &targetFolder)
{
    const auto attach = [&](const std::string &n) {
        const std::string file = (targetFolder.empty() ? "" : targetFolder + "/") + "pwned" + n;
        return "ATTACH \"" + file + "\" AS p" + n + "; CREATE TABLE p" + n + ".t(x)";
    };
    mdb::JetWriter writer(path);
    addProcedures(writer, "procedures");
    addDetails(writer);
    const auto handle = writer.addTable("odd\"name'", {{"ID", ColumnType::Long}});
    writer.appendRow(handle, {7});

    // A sign before True ends up before Jet's -1: "--" starts a comment that
    // the newline in the text ends, and the rest would run on its own.
    mdb::SavedSelectQuery longpcs = oneColumn("longpcs", "procedures.ID");
    longpcs.columns.push_back({"procedures.Description", ""});
    longpcs.columns.push_back({"-True + 'a\n1)) AS x; " + attach("0") + "; --'", "x"});
    writer.addSelectQuery(longpcs);

    std::vector<InjectingQuery> queries;
    const auto add = [&](mdb::SavedSelectQuery q, bool becomesView, std::string value = {}) {
        queries.push_back({q.name, becomesView, std::move(value)});
        writer.addSelectQuery(q);
    };
    add(oneColumn("minus true", "-True + 'a\n1)) AS x; " + attach("1") + "; --'"), true);
    add(oneColumn("minus yes", "-Yes + 'a\n1)) AS x; " + attach("2") + "; --'"), true);
    add(oneColumn("minus on", "-On + 'a\n1)) AS x; " + attach("3") + "; --'"), true);
    // Quotes doubled inside either kind of text, and a comment's end in one.
    const std::string single = "a' ; " + attach("4") + "; --", twice = "b\" ; " + attach("5") + "; --";
    add(oneColumn("quotes", jetText(single, '\'') + " & " + jetText(twice, '"')), true, single + twice);
    const std::string comment = "*/ ; " + attach("6") + "; /*";
    add(oneColumn("comment end", "-True & " + jetText(comment, '\'')), true, "1" + comment);
    // Statements after a semicolon, in a condition and in a join.
    mdb::SavedSelectQuery where = oneColumn("semicolon", "procedures.ID");
    where.where = "1 = 1; " + attach("7");
    add(where, false);
    // Names holding quotes and newlines: an alias, a table, a query, a column.
    add(oneColumn("alias", "procedures.ID", "x\" FROM procedures; " + attach("8") + "; --\n"), true, "1");
    mdb::SavedSelectQuery odd = oneColumn("odd table", "[odd\"name'].ID");
    odd.tables = {"odd\"name'"};
    add(odd, true, "7");
    add(oneColumn("q\"; ATTACH 'pwned9' AS p9; --", "procedures.ID"), true, "1");
    add(oneColumn("bracketed", "[a\"b\n; " + attach("10") + "; --]"), false);
    writer.finish();
    return queries;
}

void writeDeepFile(const std::string &path)
{
    mdb::JetWriter writer(path);
    addProcedures(writer, "longpcs");
    addDetails(writer);
    const auto nested = [](std::size_t levels) { return std::string(levels, '(') + "1" + std::string(levels, ')'); };
    writer.addSelectQuery(oneColumn("deep", nested(60000)));
    writer.addSelectQuery(oneColumn("huge", nested(200000)));
    std::string chain = "1";
    for (int i = 0; i < 5000; ++i)
        chain += " + 1";
    writer.addSelectQuery(oneColumn("chain", chain));
    writer.addTable("procedures", {{"ID", ColumnType::Long}});
    writer.finish();
}

void writeCrossJoinFile(const std::string &path)
{
    mdb::JetWriter writer(path);
    addDetails(writer);
    mdb::SavedSelectQuery longpcs;
    longpcs.name = "longpcs";
    for (const char *name : {"a", "b", "c", "d"}) {
        const auto table = writer.addTable(name, {{"ID", ColumnType::Long}, {"Description", ColumnType::Text, 255}});
        for (int i = 0; i < 300; ++i)
            writer.appendRow(table, {i, "Bypass " + std::string(name) + " " + std::to_string(i)});
        longpcs.tables.push_back(name);
    }
    longpcs.columns = {{"a.ID", ""}, {"b.Description", ""}};
    writer.addSelectQuery(longpcs);
    writer.finish();
}

} // namespace hostile
