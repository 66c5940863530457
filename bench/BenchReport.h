#pragma once
// Collects repeated timings of one benchmark and prints them as a table row or as
// one JSON object per line, with the target and an optional reference measured in
// the same run.

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

    double median() const;
    double min() const;
    double max() const;
    std::optional<double> ratio() const; // median / reference
};

// Runs body `runs` times (after `warmups` unmeasured runs) and returns the
// wall-clock milliseconds of each measured run.
QVector<double> timeRuns(int runs, int warmups, const std::function<void()> &body);

class Report {
public:
    explicit Report(bool json) : json_(json) {}
    void add(const Result &result);
    void printHeader() const;

private:
    bool json_;
};

} // namespace bench
