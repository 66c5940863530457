#pragma once
// What every benchmark needs to know about the run: where the full database and
// the release files are, how many repetitions to make, and where to report.

#include "BenchReport.h"

#include <QString>
#include <QVector>
#include <string>
#include <vector>

namespace platform::db {
class Connection;
}

namespace bench {

struct Context {
    QString workDir;    // holds pcs.mdb, the decompressed release and a copy of vorimel
    QString binDir;     // the build's bin folder (vorimel-pcsdb, vorimel)
    QString accessibility; // the state the caller set up, handed on to child processes
    int runs = 20;
    Report *report = nullptr;

    QString databasePath() const { return workDir + QStringLiteral("/pcs.mdb"); }
    QString connectionString() const;
};

// Every description of longpcs, and the times of a plain case-insensitive
// substring scan over them: the floor for any search.
using Descriptions = std::vector<std::string>;
Descriptions loadDescriptions(platform::db::Connection &connection);
QVector<double> substringScanTimes(const Descriptions &descriptions, const QString &word, int runs);

// Child-process mode: opens the database, runs an empty search, prints peak RSS in MB.
int runMemoryProbe(const Context &context, bool withAdvancedSearch);
// For a profiler: "search:<text>" (a keyword search) or "details:<rows>" (the
// details of a procedure with that many ICD-9 rows), once to warm up, then
// `repeats` times more, untimed.
int runProfiled(const Context &context, const QString &what, int repeats);

void runOpenBenchmark(const Context &context);
void runStatementBenchmarks(const Context &context);
void runLookupBenchmarks(const Context &context);
void runRibbonBenchmarks(const Context &context);
void runBuildBenchmark(const Context &context);
void runStartupBenchmark(const Context &context);
// Writes pcs.mdb at target from the release files in releaseDir with every
// procedure repeated `times` times. Throws when a file cannot be read or written.
void writeRepeatedDatabase(const QString &releaseDir, int times, const QString &target);
// Not part of the usual run: mixed operations in one frame window, ten
// thousand in scripts/bench --soak. Returns 0 when memory, descriptors and
// temporary files held steady.
int runSoak(const Context &context, int operations);

} // namespace bench
