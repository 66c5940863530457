// vorimel-bench: runs the benchmarks on the full database prepared by
// scripts/bench and prints medians, min, max, targets and references.

#include "BenchContext.h"

#include <QAccessible>
#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <cstdio>

namespace {

const QStringList Groups{QStringLiteral("open"),   QStringLiteral("statements"), QStringLiteral("lookup"),
                         QStringLiteral("ribbon"), QStringLiteral("build"),      QStringLiteral("startup")};

// Qt's accessibility bridge comes on once the AT-SPI bus has answered; a run
// that was meant to have it on (or off) and does not is not worth reporting.
bool accessibilityAsExpected(const QString &state)
{
    const bool wanted = state != QLatin1String("off");
    QDeadlineTimer deadline(wanted ? 10000 : 0);
    while (QAccessible::isActive() != wanted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return QAccessible::isActive() == wanted;
}

} // namespace

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
                                  QStringLiteral("n"), QStringLiteral("20"));
    const QCommandLineOption only(QStringLiteral("only"),
                                  QStringLiteral("Only these groups, comma-separated: ") + Groups.join(u", "),
                                  QStringLiteral("groups"));
    const QCommandLineOption accessibility(
        QStringLiteral("accessibility"),
        QStringLiteral("The accessibility state the caller set up: off, bridge or listener"), QStringLiteral("state"),
        QStringLiteral("off"));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Also write every result as a JSON line to this file"),
                                    QStringLiteral("file"));
    const QCommandLineOption baseline(QStringLiteral("baseline"),
                                      QStringLiteral("Compare with the results recorded in this file"),
                                      QStringLiteral("file"));
    const QCommandLineOption memoryProbe(
        QStringLiteral("memory-probe"),
        QStringLiteral("Internal: print peak memory after an empty search, then after an advanced search too"),
        QStringLiteral("empty|advanced"));
    const QCommandLineOption profile(
        QStringLiteral("profile"),
        QStringLiteral("For a profiler: run search:<text> or details:<rows> (--runs times after a warm-up) and "
                       "nothing else"),
        QStringLiteral("what"));
    const QCommandLineOption soak(QStringLiteral("soak"),
                                  QStringLiteral("Run the long-day soak of n operations instead of the benchmarks"),
                                  QStringLiteral("n"));
    const QCommandLineOption repeated(QStringLiteral("write-repeated"),
                                      QStringLiteral("Write <work>/pcs.mdb from the release files in <dir> with "
                                                     "every procedure repeated n times, and nothing else"),
                                      QStringLiteral("n:dir"));
    parser.addOptions({work, json, runs, only, accessibility, record, baseline, memoryProbe, profile, soak, repeated});
    parser.process(app);

    bench::Context ctx;
    ctx.workDir = QDir(parser.value(work)).absolutePath();
    ctx.binDir = QCoreApplication::applicationDirPath();
    ctx.runs = std::max(1, parser.value(runs).toInt());
    if (parser.isSet(repeated)) {
        const QString spec = parser.value(repeated);
        const int times = spec.section(u':', 0, 0).toInt();
        if (!parser.isSet(work) || times < 1) {
            std::fprintf(stderr, "vorimel-bench: --write-repeated takes n:dir, with --work\n");
            return 2;
        }
        try {
            bench::writeRepeatedDatabase(spec.section(u':', 1), times, ctx.databasePath());
        } catch (const std::exception &e) {
            std::fprintf(stderr, "vorimel-bench: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (!parser.isSet(work) || !QFileInfo::exists(ctx.databasePath())) {
        std::fprintf(stderr, "vorimel-bench: --work must name a folder holding pcs.mdb\n");
        return 2;
    }
    const QString state = parser.value(accessibility);
    ctx.accessibility = state;
    const QStringList wantedGroups =
        parser.isSet(only) ? parser.value(only).split(u',', Qt::SkipEmptyParts) : Groups;
    for (const QString &group : wantedGroups) {
        if (!Groups.contains(group)) {
            std::fprintf(stderr, "vorimel-bench: no group \"%s\"\n", qPrintable(group));
            return 2;
        }
    }
    if (!accessibilityAsExpected(state)) {
        std::fprintf(stderr, "vorimel-bench: accessibility is %s, the caller set up \"%s\"\n",
                     QAccessible::isActive() ? "on" : "off", qPrintable(state));
        return 1;
    }
    if (parser.isSet(memoryProbe))
        return bench::runMemoryProbe(ctx, parser.value(memoryProbe) == QLatin1String("advanced"));
    if (parser.isSet(profile))
        return bench::runProfiled(ctx, parser.value(profile), ctx.runs);

    QString where = QGuiApplication::platformName();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize pixels = screen->size() * screen->devicePixelRatio();
        where += QStringLiteral(" %1x%2 scale %3, database %4")
                     .arg(pixels.width())
                     .arg(pixels.height())
                     .arg(screen->devicePixelRatio())
                     .arg(QDir(ctx.workDir).dirName());
    }
    bench::Report report(parser.isSet(json), {where, state});
    if (parser.isSet(record) && !report.recordTo(parser.value(record))) {
        std::fprintf(stderr, "vorimel-bench: cannot write %s\n", qPrintable(parser.value(record)));
        return 2;
    }
    if (parser.isSet(baseline) && !report.compareWith(parser.value(baseline))) {
        std::fprintf(stderr, "vorimel-bench: cannot read %s\n", qPrintable(parser.value(baseline)));
        return 2;
    }
    ctx.report = &report;
    auto wanted = [&](const char *name) { return wantedGroups.contains(QLatin1String(name)); };
    if (parser.isSet(soak)) {
        report.printHeader();
        try {
            return bench::runSoak(ctx, std::max(2000, parser.value(soak).toInt()));
        } catch (const std::exception &e) {
            std::fprintf(stderr, "vorimel-bench: %s\n", e.what());
            return 1;
        }
    }
    report.printHeader();
    try {
        if (wanted("open"))
            bench::runOpenBenchmark(ctx);
        if (wanted("statements"))
            bench::runStatementBenchmarks(ctx);
        if (wanted("lookup"))
            bench::runLookupBenchmarks(ctx);
        if (wanted("ribbon"))
            bench::runRibbonBenchmarks(ctx);
        if (wanted("build"))
            bench::runBuildBenchmark(ctx);
        if (wanted("startup"))
            bench::runStartupBenchmark(ctx);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vorimel-bench: %s\n", e.what());
        return 1;
    }
    if (QAccessible::isActive() != (state != QLatin1String("off"))) {
        std::fprintf(stderr, "vorimel-bench: accessibility changed during the run; results are not valid\n");
        return 1;
    }
    return 0;
}
