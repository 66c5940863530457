#include "tools/ReleaseFacts.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QString>

#include <cstdlib>

namespace pcsdb {

namespace {

std::string fileName(const std::filesystem::path &path)
{
    return path.filename().string();
}

// The first capture of pattern in text, or empty.
std::string firstMatch(const std::string &text, const char *pattern)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QString::fromLatin1(pattern), QRegularExpression::CaseInsensitiveOption)
            .match(QString::fromStdString(text));
    return match.hasMatch() ? match.captured(1).toStdString() : std::string();
}

} // namespace

ReleaseFacts describeRelease(const Release &release, std::size_t codeCount, const std::string &builtOn)
{
    const std::string gem = fileName(release.files.gem);
    const std::string icd9 = fileName(release.files.icd9Titles);
    const bool sample = QString::fromStdString(release.tables.title).contains(QLatin1String("sample"), Qt::CaseInsensitive);
    ReleaseFacts facts = {
        {"ICD-10-PCS fiscal year", release.tables.version},
        {"ICD-10-PCS tables title", release.tables.title},
        {"ICD-10-PCS order file", fileName(release.files.order)},
        {"ICD-10-PCS tables file", fileName(release.files.tables)},
        {"GEM file", gem},
        // CMS names the GEM files after their year: 2018_I10_pcs_gem.txt.
        {"GEM year", firstMatch(gem, R"((?:^|\D)((?:19|20)\d\d)(?:\D|$))")},
        {"ICD-9-CM titles file", icd9},
        // and the ICD-9-CM titles after their version: CMS32_DESC_LONG_SG.txt.
        {"ICD-9-CM version", firstMatch(icd9, R"(^CMS(\d+))")},
        {"codes", std::to_string(codeCount)},
        {"built on", builtOn},
        {"sample", sample ? "yes" : "no"},
    };
    // What a file did not tell is left out rather than written as empty text.
    std::erase_if(facts, [](const auto &fact) { return fact.second.empty(); });
    return facts;
}

std::string buildDate()
{
    const char *epoch = std::getenv("SOURCE_DATE_EPOCH");
    bool ok = false;
    const qint64 seconds = epoch ? QByteArray(epoch).toLongLong(&ok) : 0;
    const QDateTime when = ok ? QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC) : QDateTime::currentDateTimeUtc();
    return when.date().toString(Qt::ISODate).toStdString();
}

} // namespace pcsdb
