#include "lookup/CodeSetRelease.h"

#include "platform/AppError.h"
#include "platform/ReleaseTable.h"
#include "platform/db/Database.h"

#include <QLocale>
#include <QStringList>

namespace lookup {

std::optional<CodeSetRelease> CodeSetRelease::read()
{
    using namespace platform::db;
    Connection &connection = sharedConnection();
    if (!connection.isOpen())
        return std::nullopt;
    Command command;
    command.setActiveConnection(&connection);
    command.setCommandText(QStringLiteral("SELECT [%1],[%2] FROM [%3];")
                                   .arg(QLatin1String(release_table::ItemColumn), QLatin1String(release_table::ValueColumn),
                                        QLatin1String(release_table::TableName)));
    Recordset rows;
    try {
        rows.open(command);
        CodeSetRelease release;
        for (; !rows.eof(); rows.moveNext())
            release.set(rows.field(QString::fromLatin1(release_table::ItemColumn)).toString(),
                        rows.field(QString::fromLatin1(release_table::ValueColumn)).toString());
        rows.close();
        if (release.value(release_table::FiscalYear).isEmpty())
            return std::nullopt;
        return release;
    } catch (const platform::AppError &) {
        return std::nullopt;
    }
}

QString CodeSetRelease::creditLine() const
{
    using namespace release_table;
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
    // The values come from the file: a line break among them would break the
    // About text's own lines, so every break and control character is a space.
    for (QChar &c : line) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
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
