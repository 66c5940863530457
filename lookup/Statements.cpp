#include "lookup/Statements.h"

namespace lookup {

QString quoted(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return doubled;
}

QString keywordStatement(const QString &searchText)
{
    return QStringLiteral("SELECT [Description],ID FROM longpcs where [Description] like '%")
           + quoted(searchText) + QStringLiteral("%' order by [Description];");
}

QStringList searchWords(const QString &searchText)
{
    QString words = searchText;
    return words.replace(QLatin1Char('\t'), QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString allWordsStatement(const QStringList &words)
{
    QStringList conditions;
    for (const QString &word : words)
        conditions << QStringLiteral("[Description] like '%") + quoted(word) + QStringLiteral("%'");
    return QStringLiteral("SELECT [Description],ID FROM longpcs where ") + conditions.join(QStringLiteral(" and "))
           + QStringLiteral(" order by [Description];");
}

QString advancedStatement(const std::vector<AdvancedCondition> &conditions, TextPosition position,
                          Joining joining)
{
    const QString percent = QStringLiteral("%");
    const QString prefix = position == TextPosition::StartingWith ? QString() : percent;
    const QString suffix = position == TextPosition::EndingWith ? QString() : percent;
    const QString joiner = joining == Joining::AllKeywords ? QStringLiteral(" AND ") : QStringLiteral(" OR ");

    QString statement = QStringLiteral("SELECT distinct [description],ID FROM getalldata where ");
    bool first = true;
    for (const AdvancedCondition &condition : conditions) {
        if (!first)
            statement += joiner;
        statement += QLatin1Char('[') + condition.column + QLatin1Char(']') + QStringLiteral(" like '") + prefix
                     + quoted(condition.text) + suffix + QStringLiteral("' \r\n");
        first = false;
    }
    statement += QStringLiteral(" order by [description];");
    return statement;
}

QString detailsStatement(int id)
{
    return QStringLiteral("SELECT * FROM getalldata where ID= ") + QString::number(id) + QStringLiteral(" ;");
}

QString detailsStatement(int id, const QString &icd9Code)
{
    return QStringLiteral("SELECT * FROM getalldata where ID= ") + QString::number(id)
           + QStringLiteral(" and pcs9 like '") + quoted(icd9Code) + QStringLiteral("' ;");
}

double leadingNumber(const QString &text)
{
    qsizetype at = 0;
    while (at < text.size() && (text[at] == QLatin1Char(' ') || text[at] == QLatin1Char('\t')))
        ++at;
    const qsizetype start = at;
    if (at < text.size() && (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-')))
        ++at;
    qsizetype digits = 0;
    while (at < text.size() && text[at].isDigit() && text[at].unicode() < 128) {
        ++at;
        ++digits;
    }
    if (at < text.size() && text[at] == QLatin1Char('.')) {
        ++at;
        while (at < text.size() && text[at].isDigit() && text[at].unicode() < 128) {
            ++at;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    bool ok = false;
    const double value = text.mid(start, at - start).toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace lookup
