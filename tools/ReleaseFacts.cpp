#include "tools/ReleaseFacts.h"

#include "platform/ReleaseTable.h"

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
        {release_table::FiscalYear, release.tables.version},
        {release_table::TablesTitle, release.tables.title},
        {release_table::OrderFile, fileName(release.files.order)},
        {release_table::TablesFile, fileName(release.files.tables)},
        {release_table::GemFile, gem},
        // CMS names the GEM files after their year: 2018_I10_pcs_gem.txt.
        {release_table::GemYear, firstMatch(gem, R"((?:^|\D)((?:19|20)\d\d)(?:\D|$))")},
        {release_table::Icd9File, icd9},
        // and the ICD-9-CM titles after their version: CMS32_DESC_LONG_SG.txt.
        {release_table::Icd9Version, firstMatch(icd9, R"(^CMS(\d+))")},
        {release_table::CodeCount, std::to_string(codeCount)},
        {release_table::BuiltOn, builtOn},
        {release_table::Sample, sample ? "yes" : "no"},
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
