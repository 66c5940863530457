// vorimel-bench: runs the benchmarks on the full database prepared by
// scripts/bench and prints medians, min, max, targets and references.

#include "BenchContext.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vorimel benchmarks on the full database"));
    parser.addHelpOption();
    const QCommandLineOption work(QStringLiteral("work"),
                                  QStringLiteral("Folder with pcs.mdb, release/ and a copy of vorimel"),
                                  QStringLiteral("dir"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("One JSON object per line"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Measured runs per benchmark"),
                                  QStringLiteral("n"), QStringLiteral("15"));
    const QCommandLineOption only(QStringLiteral("only"),
                                  QStringLiteral("Only this group: database, process, lookup, ribbon"),
                                  QStringLiteral("group"));
    const QCommandLineOption memoryProbe(QStringLiteral("memory-probe"),
                                         QStringLiteral("Internal: print peak memory after an empty search"));
    const QCommandLineOption soak(QStringLiteral("soak"),
                                  QStringLiteral("Run the long-day soak of n operations instead of the benchmarks"),
                                  QStringLiteral("n"));
    parser.addOptions({work, json, runs, only, memoryProbe, soak});
    parser.process(app);

    bench::Report report(parser.isSet(json));
    bench::Context ctx;
    ctx.workDir = QDir(parser.value(work)).absolutePath();
    ctx.binDir = QCoreApplication::applicationDirPath();
    ctx.runs = std::max(1, parser.value(runs).toInt());
    ctx.report = &report;
    if (!parser.isSet(work) || !QFileInfo::exists(ctx.databasePath())) {
        std::fprintf(stderr, "vorimel-bench: --work must name a folder holding pcs.mdb\n");
        return 2;
    }

    if (parser.isSet(memoryProbe))
        return bench::runMemoryProbe(ctx);

    if (parser.isSet(soak)) {
        report.printHeader();
        try {
            return bench::runSoak(ctx, std::max(2000, parser.value(soak).toInt()));
        } catch (const std::exception &e) {
            std::fprintf(stderr, "vorimel-bench: %s\n", e.what());
            return 1;
        }
    }

    const QString group = parser.value(only);
    auto wanted = [&](const char *name) { return group.isEmpty() || group == QLatin1String(name); };
    report.printHeader();
    try {
        if (wanted("database"))
            bench::runDatabaseBenchmarks(ctx);
        if (wanted("lookup"))
            bench::runLookupBenchmarks(ctx);
        if (wanted("ribbon"))
            bench::runRibbonBenchmarks(ctx);
        if (wanted("process"))
            bench::runProcessBenchmarks(ctx);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vorimel-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
