#pragma once
// Collects repeated timings of one benchmark and prints them as a table row or as
// one JSON object per line, with the target and an optional reference measured in
// the same run. A run under accessibility compares each result with the same
// benchmark measured without it (the baseline), which then sets its target.

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
    double target = 0;                   // goal for the median, same unit
    std::optional<double> reference;     // median of the reference, same unit
    QString referenceName;
    // Whether a baseline run's figure replaces target and reference; not for
    // targets that hold whatever the setting.
    bool comparesWithBaseline = true;

    double median() const;
    double min() const;
    double max() const;
    std::optional<double> ratio() const; // median / reference
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

// How much slower a result may be with accessibility on than without it.
inline constexpr double AccessibilityAllowance = 1.3;

class Report {
public:
    Report(bool json, Setting setting) : json_(json), setting_(std::move(setting)) {}
    // Also appends every result as a JSON line to this file.
    bool recordTo(const QString &path);
    // Medians by benchmark name from a file written by recordTo.
    bool compareWith(const QString &path);
    void add(Result result);
    void printHeader() const;

private:
    QString jsonLine(const Result &result) const;

    bool json_;
    Setting setting_;
    QString recordPath_;
    QHash<QString, double> baseline_;
};

} // namespace bench
