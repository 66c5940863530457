#include "lookup/CodeSetRelease.h"

#include "platform/AppError.h"
#include "platform/db/Database.h"

#include <QLocale>
#include <QStringList>

namespace lookup {

const QString CodeSetRelease::TableName = QStringLiteral("release");
const QString CodeSetRelease::FiscalYear = QStringLiteral("ICD-10-PCS fiscal year");
const QString CodeSetRelease::TablesTitle = QStringLiteral("ICD-10-PCS tables title");
const QString CodeSetRelease::OrderFile = QStringLiteral("ICD-10-PCS order file");
const QString CodeSetRelease::TablesFile = QStringLiteral("ICD-10-PCS tables file");
const QString CodeSetRelease::GemFile = QStringLiteral("GEM file");
const QString CodeSetRelease::GemYear = QStringLiteral("GEM year");
const QString CodeSetRelease::Icd9File = QStringLiteral("ICD-9-CM titles file");
const QString CodeSetRelease::Icd9Version = QStringLiteral("ICD-9-CM version");
const QString CodeSetRelease::CodeCount = QStringLiteral("codes");
const QString CodeSetRelease::BuiltOn = QStringLiteral("built on");
const QString CodeSetRelease::Sample = QStringLiteral("sample");

std::optional<CodeSetRelease> CodeSetRelease::read()
{
    using namespace platform::db;
    Connection &connection = sharedConnection();
    if (!connection.isOpen())
        return std::nullopt;
    Command command;
    command.setActiveConnection(&connection);
    command.setCommandText(QStringLiteral("SELECT [Item],[Value] FROM [%1];").arg(TableName));
    Recordset rows;
    try {
        rows.open(command);
        CodeSetRelease release;
        for (; !rows.eof(); rows.moveNext())
            release.set(rows.field(QStringLiteral("Item")).toString(), rows.field(QStringLiteral("Value")).toString());
        rows.close();
        if (release.value(FiscalYear).isEmpty())
            return std::nullopt;
        return release;
    } catch (const platform::AppError &) {
        return std::nullopt;
    }
}

QString CodeSetRelease::creditLine() const
{
    QString codeSet = QStringLiteral("CMS ICD-10-PCS FY") + value(FiscalYear);
    bool counted = false;
    const qlonglong codes = value(CodeCount).toLongLong(&counted);
    if (counted)
        codeSet += QStringLiteral(" (%1 codes)").arg(QLocale(QLocale::English).toString(codes));
    QStringList parts{codeSet};
    if (!value(GemYear).isEmpty())
        parts << QStringLiteral("GEM ") + value(GemYear);
    if (!value(Icd9Version).isEmpty())
        parts << QStringLiteral("ICD-9-CM v") + value(Icd9Version);
    QString line = QStringLiteral("Code tables: ") + parts.join(QStringLiteral(", "));
    if (value(Sample) == QLatin1String("yes"))
        line += QStringLiteral(" - a small sample, not for coding");
    return line;
}

QString CodeSetRelease::neutralCreditLine()
{
    return QStringLiteral("Code tables: CMS ICD-10-PCS and GEMs");
}

QString CodeSetRelease::creditLineOf(const std::optional<CodeSetRelease> &release)
{
    return release ? release->creditLine() : neutralCreditLine();
}

} // namespace lookup
