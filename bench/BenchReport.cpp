#include "BenchReport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bench {

namespace {
QVector<double> sorted(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v;
}
QString number(double v)
{
    return QString::number(v, 'f', v < 10 ? 3 : 1);
}
} // namespace

double Result::median() const
{
    if (samples.isEmpty())
        return 0;
    const auto s = sorted(samples);
    const auto n = s.size();
    return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
}

double Result::p95() const
{
    if (samples.isEmpty())
        return 0;
    // Nearest rank: the smallest sample that 95 % of the runs do not exceed.
    const auto s = sorted(samples);
    const auto rank = qsizetype(std::ceil(0.95 * double(s.size())));
    return s[std::clamp<qsizetype>(rank - 1, 0, s.size() - 1)];
}

double Result::cpuMedian() const
{
    Result only;
    only.samples = cpu;
    return only.median();
}

double Result::cpuP95() const
{
    Result only;
    only.samples = cpu;
    return only.p95();
}

double Result::longestPause() const
{
    return pauses.isEmpty() ? 0 : *std::max_element(pauses.begin(), pauses.end());
}

bool Result::meetsTargets() const
{
    const auto r = ratio();
    return !(target > 0 && p95() > target) && !(pauseTarget > 0 && longestPause() > pauseTarget)
        && !(comparesWithBaseline && r && *r > AccessibilityAllowance);
}

double Result::min() const
{
    return samples.isEmpty() ? 0 : *std::min_element(samples.begin(), samples.end());
}

double Result::max() const
{
    return samples.isEmpty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

std::optional<double> Result::ratio() const
{
    if (!reference || *reference <= 0)
        return std::nullopt;
    return p95() / *reference;
}

std::optional<double> Result::cpuRatio() const
{
    if (!cpuReference || *cpuReference <= 0 || cpu.isEmpty())
        return std::nullopt;
    return cpuMedian() / *cpuReference;
}

QVector<double> timeRuns(int runs, int warmups, const std::function<void()> &body)
{
    for (int i = 0; i < warmups; ++i)
        body();
    QVector<double> times;
    times.reserve(runs);
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return times;
}

QString Setting::describe() const
{
    QString state;
    if (accessibility == QLatin1String("off"))
        state = QStringLiteral("accessibility off");
    else if (accessibility == QLatin1String("bridge"))
        state = QStringLiteral("accessibility bridge on, AT-SPI bus, nobody listening");
    else if (accessibility == QLatin1String("listener"))
        state = QStringLiteral("accessibility bridge on, a screen reader's events listened to");
    else
        state = QStringLiteral("accessibility ") + accessibility;
    return QStringLiteral("platform %1, %2").arg(platform, state);
}

bool Report::recordTo(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    recordPath_ = path;
    return true;
}

bool Report::compareWith(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const QJsonObject o = QJsonDocument::fromJson(file.readLine()).object();
        const QString name = o.value(QStringLiteral("name")).toString();
        const QJsonValue p95 = o.value(QStringLiteral("p95"));
        const QJsonValue cpu = o.value(QStringLiteral("cpu_median_ms"));
        if (!name.isEmpty() && p95.isDouble())
            baseline_.insert(name, p95.toDouble());
        if (!name.isEmpty() && cpu.isDouble())
            baselineCpu_.insert(name, cpu.toDouble());
    }
    return true;
}

void Report::printHeader() const
{
    if (json_)
        return;
    std::printf("\n%s\n", qPrintable(setting_.describe()));
    std::printf("%-62s %11s %10s %10s %10s %10s %13s %5s %24s %6s %9s\n", "benchmark", "median", "p95", "max",
                "pause", "cpu p95", "target", "", "reference", "ratio", "cpu ratio");
    std::fflush(stdout);
}

QString Report::jsonLine(const Result &r) const
{
    const auto ratio = r.ratio();
    QJsonObject o;
    o.insert(QStringLiteral("name"), r.name);
    o.insert(QStringLiteral("platform"), setting_.platform);
    o.insert(QStringLiteral("accessibility"), setting_.accessibility);
    o.insert(r.unit == QLatin1String("MB") ? QStringLiteral("median_mb") : QStringLiteral("median_ms"), r.median());
    o.insert(QStringLiteral("p95"), r.p95());
    o.insert(QStringLiteral("min"), r.min());
    o.insert(QStringLiteral("max"), r.max());
    o.insert(QStringLiteral("longest_pause_ms"), r.pauses.isEmpty() ? QJsonValue(QJsonValue::Null)
                                                                    : QJsonValue(r.longestPause()));
    o.insert(QStringLiteral("cpu_median_ms"),
             r.cpu.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(r.cpuMedian()));
    o.insert(QStringLiteral("cpu_p95_ms"), r.cpu.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(r.cpuP95()));
    o.insert(QStringLiteral("meets_targets"), r.meetsTargets());
    o.insert(QStringLiteral("target"), r.target > 0 ? QJsonValue(r.target) : QJsonValue(QJsonValue::Null));
    o.insert(QStringLiteral("reference"), r.reference ? QJsonValue(*r.reference) : QJsonValue(QJsonValue::Null));
    o.insert(QStringLiteral("reference_name"),
             r.reference ? QJsonValue(r.referenceName) : QJsonValue(QJsonValue::Null));
    o.insert(QStringLiteral("ratio"), ratio ? QJsonValue(*ratio) : QJsonValue(QJsonValue::Null));
    const auto cpuRatio = r.cpuRatio();
    o.insert(QStringLiteral("cpu_ratio"), cpuRatio ? QJsonValue(*cpuRatio) : QJsonValue(QJsonValue::Null));
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

void Report::add(Result r)
{
    const auto off = baseline_.constFind(r.name);
    if (r.comparesWithBaseline && off != baseline_.constEnd()) {
        r.reference = *off;
        r.referenceName = QStringLiteral("no reader (<= 1.3x)");
    }
    if (const auto cpu = baselineCpu_.constFind(r.name); r.comparesWithBaseline && cpu != baselineCpu_.constEnd())
        r.cpuReference = *cpu;
    if (!r.meetsTargets())
        ++misses_;
    const QString line = jsonLine(r);
    if (!recordPath_.isEmpty()) {
        QFile file(recordPath_);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(line.toUtf8() + '\n');
    }
    if (json_) {
        std::printf("%s\n", qPrintable(line));
    } else {
        const auto ratio = r.ratio();
        const QString unit = r.unit == QLatin1String("MB") ? QStringLiteral(" MB") : QStringLiteral(" ms");
        const QString ref = r.reference
                                ? number(*r.reference) + unit + QStringLiteral(" ") + r.referenceName
                                : QStringLiteral("-");
        QString target = r.target > 0 ? QStringLiteral("<= ") + number(r.target) : QStringLiteral("-");
        if (r.pauseTarget > 0)
            target += QStringLiteral("/") + number(r.pauseTarget);
        const auto cpuRatio = r.cpuRatio();
        std::printf("%-62s %11s %10s %10s %10s %10s %13s %5s %24s %6s %9s\n", qPrintable(r.name.left(62)),
                    qPrintable(number(r.median()) + unit), qPrintable(number(r.p95())), qPrintable(number(r.max())),
                    qPrintable(r.pauses.isEmpty() ? QStringLiteral("-") : number(r.longestPause())),
                    qPrintable(r.cpu.isEmpty() ? QStringLiteral("-") : number(r.cpuP95())),
                    qPrintable(target), r.meetsTargets() ? "ok" : "MISS", qPrintable(ref.left(24)),
                    ratio ? qPrintable(number(*ratio)) : "-", cpuRatio ? qPrintable(number(*cpuRatio)) : "-");
    }
    std::fflush(stdout);
}

} // namespace bench
