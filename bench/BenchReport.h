#pragma once
// Collects repeated timings of one benchmark and prints them as a table row or as
// one JSON object per line: median, 95th percentile, maximum, the longest pause
// between two repaints where one was watched, and whether the 95th percentile
// meets the target. A run with a screen reader listening compares each result
// with the same benchmark measured without one (the baseline).

#include <QHash>
#include <QString>
#include <QVector>
#include <functional>
#include <optional>

namespace bench {

struct Result {
    Result() = default;
    explicit Result(QString name_) : name(std::move(name_)) {}

    QString name;
    QString unit = QStringLiteral("ms"); // "ms" or "MB"
    QVector<double> samples;
    double target = 0;                   // goal for the 95th percentile, same unit
    // The longest time the window went without a repaint, per run, and its goal.
    QVector<double> pauses;
    double pauseTarget = 0;
    // The process's processor time per run: what the run cost without the
    // waits for a busy machine's other work.
    QVector<double> cpu;
    std::optional<double> reference;     // same percentile of the reference, same unit
    std::optional<double> cpuReference;  // the reference's median processor time
    QString referenceName;
    // Whether a baseline run's figure becomes the reference, which the result
    // may exceed by AccessibilityAllowance at most.
    bool comparesWithBaseline = true;

    double median() const;
    double p95() const;
    double min() const;
    double max() const;
    double longestPause() const;
    double cpuMedian() const;
    double cpuP95() const;
    std::optional<double> ratio() const; // p95 / reference
    // Median processor time over the reference's: the extra work itself,
    // steadier than wall time on a shared machine.
    std::optional<double> cpuRatio() const;
    // False when a figure misses its target or the allowance over the baseline.
    bool meetsTargets() const;
};

// Runs body `runs` times (after `warmups` unmeasured runs) and returns the
// wall-clock milliseconds of each measured run.
QVector<double> timeRuns(int runs, int warmups, const std::function<void()> &body);

// Where the benchmarks ran: Qt's platform and the accessibility state around it.
struct Setting {
    QString platform;      // "offscreen", "xcb"
    QString accessibility; // "off", "bridge", "listener"
    QString describe() const;
};

// How much slower a result may be with a screen reader listening than without it.
inline constexpr double AccessibilityAllowance = 1.3;

class Report {
public:
    Report(bool json, Setting setting) : json_(json), setting_(std::move(setting)) {}
    // Also appends every result as a JSON line to this file.
    bool recordTo(const QString &path);
    // 95th percentiles by benchmark name from a file written by recordTo.
    bool compareWith(const QString &path);
    void add(Result result);
    void printHeader() const;
    // Results that missed a target so far.
    int misses() const { return misses_; }

private:
    QString jsonLine(const Result &result) const;

    bool json_;
    Setting setting_;
    QString recordPath_;
    QHash<QString, double> baseline_;
    QHash<QString, double> baselineCpu_;
    int misses_ = 0;
};

} // namespace bench
