#include "tools/PcsDbCommand.h"

#include "mdb/JetWriter.h"
#include "tools/CodeTableRows.h"
#include "tools/InstalledDatabase.h"
#include "tools/PcsDatabaseWriter.h"
#include "tools/PcsRows.h"
#include "tools/Progress.h"
#include "tools/SourceError.h"
#include "tools/TableCoverage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace pcsdb {

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

struct Option {
    const char *name;
    const char *valueName;
    const char *description;
};

constexpr Option releaseOptions[] = {
    {"order", "FILE", "ICD-10-PCS order file (icd10pcs_order_YYYY.txt)."},
    {"tables", "FILE", "ICD-10-PCS tables XML (icd10pcs_tables_YYYY.xml)."},
    {"gem", "FILE", "ICD-10-PCS to ICD-9-CM General Equivalence Mapping."},
    {"icd9", "FILE", "ICD-9-CM procedure titles (CMS32_DESC_LONG_SG.txt)."},
};
constexpr Option outputOption = {"output", "FILE", "Database to write (pcs.mdb); replaced only when the build succeeds."};

std::filesystem::path pathOf(const QString &argument)
{
    return std::filesystem::path(QFile::encodeName(argument).toStdString());
}

int usageError(const QString &message)
{
    std::fprintf(stderr, "vorimel-pcsdb: %s\nTry 'vorimel-pcsdb --help'.\n", qPrintable(message));
    return exitUsage;
}

int failure(const std::string &message)
{
    std::fprintf(stderr, "vorimel-pcsdb: error: %s\n", message.c_str());
    return exitFailure;
}

// Checks that a file option is given once; returns the message when it is not.
QString misuseOf(const QCommandLineParser &parser, const Option &option)
{
    if (!parser.isSet(option.name) || parser.value(option.name).isEmpty())
        return QString("missing --%1 FILE").arg(option.name);
    if (parser.values(option.name).size() > 1)
        return QString("--%1 given more than once").arg(option.name);
    return {};
}

// Where --output or --install writes, links followed.
DatabaseTarget outputOf(const QCommandLineParser &parser, bool install)
{
    if (!install)
        return {followLinks(pathOf(parser.value(outputOption.name))), {}};
    DatabaseTarget target = findInstallTarget(pathOf(QCoreApplication::applicationDirPath()), VORIMEL_TOOL_TO_PROGRAM_DIR);
    if (!target.problem.empty())
        target.problem = "--install: " + target.problem;
    return target;
}

// Reads and checks the four release files, assembles the rows and writes the
// database; on failure the output is left as it was.
int build(const ReleaseFiles &files, const std::filesystem::path &output)
{
    Progress progress(stderr);
    try {
        PcsRows rows;
        CodeTableRows codeTables;
        ReleaseFacts facts;
        {
            // The release is only needed until its rows exist; freeing it before writing lowers the peak memory.
            const Release release = Release::read(files, progress);
            progress.step("Assembling the rows");
            rows = assemblePcsRows(release);
            checkTableCodesAreOrdered(release);
            codeTables = assembleCodeTableRows(release.tables);
            facts = describeRelease(release, rows.procedures.size(), buildDate());
        }
        writePcsDatabase(rows, codeTables, facts, output, progress);
        progress.finish();
        std::printf("Wrote %s: %zu procedures in longpcs, %zu rows in getalldata.\n", output.string().c_str(),
                    rows.procedures.size(), rows.details.size());
        return 0;
    } catch (const SourceError &error) {
        progress.finish();
        std::fprintf(stderr, "vorimel-pcsdb: error: %s\n", error.what());
    } catch (const mdb::WriterError &error) {
        progress.finish();
        std::fprintf(stderr, "vorimel-pcsdb: error: cannot write %s: %s\n", output.string().c_str(), error.what());
    } catch (const std::bad_alloc &) {
        progress.finish();
        std::fprintf(stderr, "vorimel-pcsdb: error: out of memory\n");
    }
    return exitFailure;
}

} // namespace

int runPcsDbCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Builds pcs.mdb (tables longpcs and getalldata) from a CMS ICD-10-PCS release.");
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    parser.addOption(help);
    for (const Option &option : releaseOptions)
        parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));
    parser.addOption(QCommandLineOption(outputOption.name, outputOption.description, outputOption.valueName));
    const QCommandLineOption install(
        "install", "Instead of --output: write the database of the installed Vorimel, the pcs.mdb in its program "
                   "folder (where that is a link, the file it points to). Needs root for a packaged Vorimel.");
    parser.addOption(install);

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError("unexpected argument '" + parser.positionalArguments().constFirst() + "'");
    for (const Option &option : releaseOptions) {
        if (const QString misuse = misuseOf(parser, option); !misuse.isEmpty())
            return usageError(misuse);
    }
    const bool installing = parser.isSet(install);
    if (installing && parser.isSet(outputOption.name))
        return usageError("give either --output or --install, not both");
    if (!installing && !parser.isSet(outputOption.name))
        return usageError("missing --output FILE or --install");
    if (const QString misuse = installing ? QString() : misuseOf(parser, outputOption); !misuse.isEmpty())
        return usageError(misuse);
    const ReleaseFiles files{pathOf(parser.value("order")), pathOf(parser.value("tables")), pathOf(parser.value("gem")),
                             pathOf(parser.value("icd9"))};
    const DatabaseTarget target = outputOf(parser, installing);
    if (!target.problem.empty())
        return failure(target.problem);
    const std::filesystem::path &output = target.database;
    // A slip of the keyboard must not replace a release file with the database.
    for (const std::filesystem::path &input : {files.order, files.tables, files.gem, files.icd9Titles}) {
        std::error_code ec;
        if (std::filesystem::equivalent(input, output, ec))
            return usageError(QString("--output names the input file %1").arg(QFile::decodeName(input.c_str())));
    }
    const int status = build(files, output);
    // The program reads the installed database as whichever user runs it, whatever
    // umask root had.
    if (status == 0 && installing) {
        std::error_code ec;
        std::filesystem::permissions(output, std::filesystem::perms(0644), ec);
        if (ec)
            return failure("cannot make " + output.string() + " readable by every user: " + ec.message());
    }
    return status;
}

} // namespace pcsdb
