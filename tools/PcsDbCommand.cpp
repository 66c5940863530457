#include "tools/PcsDbCommand.h"

#include "mdb/JetWriter.h"
#include "tools/PcsDbBuilder.h"
#include "tools/SourceError.h"
#include "tools/TerminalProgress.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>
#include <memory>

namespace pcsdb {

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

struct Option {
    const char *name;
    const char *valueName;
    const char *description;
};

constexpr Option fileOptions[] = {
    {"order", "FILE", "ICD-10-PCS order file (icd10pcs_order_YYYY.txt)."},
    {"tables", "FILE", "ICD-10-PCS tables XML (icd10pcs_tables_YYYY.xml)."},
    {"gem", "FILE", "ICD-10-PCS to ICD-9-CM General Equivalence Mapping."},
    {"icd9", "FILE", "ICD-9-CM procedure titles (CMS32_DESC_LONG_SG.txt)."},
    {"output", "FILE", "Database to write (pcs.mdb); replaced only when the build succeeds."},
};

std::filesystem::path pathOf(const QString &argument)
{
    return std::filesystem::path(QFile::encodeName(argument).toStdString());
}

int usageError(const QString &message)
{
    std::fprintf(stderr, "vorimel-pcsdb: %s\nTry 'vorimel-pcsdb --help'.\n", qPrintable(message));
    return exitUsage;
}

int build(const ReleaseFiles &files, const std::filesystem::path &output)
{
    std::unique_ptr<Progress> progress;
    if (TerminalProgress::isTerminal(stderr))
        progress = std::make_unique<TerminalProgress>(stderr);
    else
        progress = std::make_unique<SilentProgress>();
    try {
        const BuildSummary summary = buildPcsDatabase(files, output, *progress);
        std::printf("Wrote %s: %zu procedures in longpcs, %zu rows in getalldata.\n", output.string().c_str(),
                    summary.procedures, summary.details);
        return 0;
    } catch (const SourceError &error) {
        progress->finish();
        std::fprintf(stderr, "vorimel-pcsdb: error: %s\n", error.what());
    } catch (const mdb::WriterError &error) {
        progress->finish();
        std::fprintf(stderr, "vorimel-pcsdb: error: cannot write %s: %s\n", output.string().c_str(), error.what());
    } catch (const std::bad_alloc &) {
        progress->finish();
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
    for (const Option &option : fileOptions)
        parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError("unexpected argument '" + parser.positionalArguments().constFirst() + "'");
    for (const Option &option : fileOptions) {
        if (!parser.isSet(option.name) || parser.value(option.name).isEmpty())
            return usageError(QString("missing --%1 FILE").arg(option.name));
        if (parser.values(option.name).size() > 1)
            return usageError(QString("--%1 given more than once").arg(option.name));
    }
    const ReleaseFiles files{pathOf(parser.value("order")), pathOf(parser.value("tables")), pathOf(parser.value("gem")),
                             pathOf(parser.value("icd9"))};
    const std::filesystem::path output = pathOf(parser.value("output"));
    // A slip of the keyboard must not replace a release file with the database.
    for (const std::filesystem::path &input : {files.order, files.tables, files.gem, files.icd9Titles}) {
        std::error_code ec;
        if (std::filesystem::equivalent(input, output, ec))
            return usageError(QString("--output names the input file %1").arg(QFile::decodeName(input.c_str())));
    }
    return build(files, output);
}

} // namespace pcsdb
