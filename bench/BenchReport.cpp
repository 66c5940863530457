#include "BenchReport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
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
    return median() / *reference;
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
        const QJsonValue median = o.contains(QStringLiteral("median_ms")) ? o.value(QStringLiteral("median_ms"))
                                                                          : o.value(QStringLiteral("median_mb"));
        if (o.value(QStringLiteral("name")).isString() && median.isDouble())
            baseline_.insert(o.value(QStringLiteral("name")).toString(), median.toDouble());
    }
    return true;
}

void Report::printHeader() const
{
    if (json_)
        return;
    std::printf("\n%s\n", qPrintable(setting_.describe()));
    std::printf("%-66s %11s %10s %10s %11s %28s %8s\n", "benchmark", "median", "min", "max",
                "target", "reference", "ratio");
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
    o.insert(QStringLiteral("min"), r.min());
    o.insert(QStringLiteral("max"), r.max());
    o.insert(QStringLiteral("target"), r.target > 0 ? QJsonValue(r.target) : QJsonValue(QJsonValue::Null));
    o.insert(QStringLiteral("reference"), r.reference ? QJsonValue(*r.reference) : QJsonValue(QJsonValue::Null));
    o.insert(QStringLiteral("reference_name"),
             r.reference ? QJsonValue(r.referenceName) : QJsonValue(QJsonValue::Null));
    o.insert(QStringLiteral("ratio"), ratio ? QJsonValue(*ratio) : QJsonValue(QJsonValue::Null));
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

void Report::add(Result r)
{
    const auto off = baseline_.constFind(r.name);
    if (r.comparesWithBaseline && off != baseline_.constEnd()) {
        r.reference = *off;
        r.referenceName = QStringLiteral("accessibility off");
        r.target = *off * AccessibilityAllowance;
    }
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
        std::printf("%-66s %11s %10s %10s %11s %28s %8s\n", qPrintable(r.name),
                    qPrintable(number(r.median()) + unit), qPrintable(number(r.min())),
                    qPrintable(number(r.max())),
                    qPrintable(r.target > 0 ? QStringLiteral("<= ") + number(r.target) : QStringLiteral("-")),
                    qPrintable(ref.left(28)), ratio ? qPrintable(number(*ratio)) : "-");
    }
    std::fflush(stdout);
}

} // namespace bench
