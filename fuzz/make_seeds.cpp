// Writes the starting corpora of the fuzz targets into OUT-FOLDER/<target>/:
// a Jet file of our own writer with saved queries, and from it and every
// FILE.mdb given, each saved query's rows and their Jet SQL texts.
//   make_seeds OUT-FOLDER [FILE.mdb ...]

#include "fuzz/SavedQueryBytes.h"
#include "mdb/JetWriter.h"
#include "platform/db/jet/JetSavedQueries.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

void writeOwnFile(const fs::path &target)
{
    using mdb::ColumnType;
    mdb::JetWriter writer(target);
    const auto codes = writer.addTable("longpcs", {{"ID", ColumnType::Long}, {"Description", ColumnType::Text, 120}});
    const auto details = writer.addTable(
        "getalldata", {{"ID", ColumnType::Long}, {"pcs9", ColumnType::Text, 10}, {"Notes", ColumnType::Memo}});
    writer.appendRow(codes, {1, std::string("Drainage of Right Eye, Open Approach")});
    writer.appendRow(codes, {2, std::monostate{}});
    writer.appendRow(details, {1, std::string("16.0"), std::string(300, 'n')});
    mdb::SavedSelectQuery joined;
    joined.name = "joined";
    joined.distinct = true;
    joined.columns = {{"longpcs.ID", ""}, {"UCase(Left([Description], 5)) & \" - \" & Nz(pcs9, 'none')", "label"},
                      {"IIf(Len(Notes) > 10, #1/2/2003#, Null)", "d"}};
    joined.tables = {"longpcs", "getalldata"};
    joined.joins = {{"longpcs", "getalldata", "longpcs.ID = getalldata.ID", mdb::JoinKind::Left}};
    joined.where = "[Description] Like '*Eye*' And Not pcs9 Is Null Or -longpcs.ID <= 2";
    joined.orderBy = {{"Description", true}};
    writer.addSelectQuery(joined);
    mdb::SavedSelectQuery plain;
    plain.name = "plain";
    plain.columns = {{"*", ""}};
    plain.tables = {"joined"};
    writer.addSelectQuery(plain);
    writer.finish();
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

void seedsFrom(const fs::path &file, const fs::path &out)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    fs::copy_file(file, out / "jet_file" / file.filename(), fs::copy_options::overwrite_existing);
    platform::db::JetFile jet(bytes);
    int n = 0;
    for (const platform::db::SavedQuery &query : platform::db::readSavedQueries(jet)) {
        const std::string stem = file.stem().string() + '-' + std::to_string(n++);
        writeFile(out / "saved_query" / stem, fuzz::encodeSavedQuery(query));
        int k = 0;
        for (const platform::db::SavedQueryRow &row : query.rows)
            if (!row.expression.empty())
                writeFile(out / "jet_sql" / (stem + '-' + std::to_string(k++)), row.expression);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_seeds OUT-FOLDER [FILE.mdb ...]\n");
        return 2;
    }
    const fs::path out = argv[1];
    for (const char *target : {"jet_file", "saved_query", "jet_sql"})
        fs::create_directories(out / target);
    try {
        const fs::path own = out / "writer.mdb";
        writeOwnFile(own);
        seedsFrom(own, out);
        fs::remove(own);
        for (int i = 2; i < argc; ++i)
            seedsFrom(argv[i], out);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "make_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
