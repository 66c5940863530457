#include "platform/db/ConnectionString.h"

#include "platform/db/Errors.h"

namespace platform::db {
namespace {

const QString kJetProvider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");

[[noreturn]] void refuse(const QString &why)
{
    raise(ErrBadConnectionString, kConnectionSource, why);
}

class PairReader {
public:
    explicit PairReader(const QString &text) : text_(text) {}

    QMap<QString, QString> readAll()
    {
        QMap<QString, QString> pairs;
        for (;;) {
            skipSeparators();
            if (at_ >= text_.size())
                return pairs;
            const QString key = readKey();
            pairs.insert(key, readValue(key));
        }
    }

private:
    void skipSeparators()
    {
        while (at_ < text_.size() && (text_[at_].isSpace() || text_[at_] == u';'))
            ++at_;
    }
    void skipSpaces()
    {
        while (at_ < text_.size() && text_[at_].isSpace())
            ++at_;
    }

    QString readKey()
    {
        const qsizetype start = at_;
        while (at_ < text_.size() && text_[at_] != u'=' && text_[at_] != u';')
            ++at_;
        const QString key = text_.mid(start, at_ - start).trimmed();
        if (at_ >= text_.size() || text_[at_] != u'=')
            refuse(QStringLiteral("The connection string is not understood: \"%1\" has no value.").arg(key));
        if (key.isEmpty())
            refuse(QStringLiteral("The connection string is not understood: a value has no name."));
        ++at_;
        return key.toLower();
    }

    QString readValue(const QString &key)
    {
        skipSpaces();
        if (at_ < text_.size() && (text_[at_] == u'"' || text_[at_] == u'\''))
            return readQuoted(key);
        const qsizetype start = at_;
        while (at_ < text_.size() && text_[at_] != u';')
            ++at_;
        return text_.mid(start, at_ - start).trimmed();
    }

    QString readQuoted(const QString &key)
    {
        const QChar quote = text_[at_++];
        QString value;
        for (;;) {
            if (at_ >= text_.size())
                refuse(QStringLiteral("The connection string is not understood: the value of \"%1\" has no closing quote.").arg(key));
            const QChar c = text_[at_++];
            if (c != quote) {
                value += c;
            } else if (at_ < text_.size() && text_[at_] == quote) {
                value += c;
                ++at_;
            } else {
                break;
            }
        }
        skipSpaces();
        if (at_ < text_.size() && text_[at_] != u';')
            refuse(QStringLiteral("The connection string is not understood: text follows the quoted value of \"%1\".").arg(key));
        return value;
    }

    const QString &text_;
    qsizetype at_ = 0;
};

} // namespace

QMap<QString, QString> parseConnectionString(const QString &text)
{
    return PairReader(text).readAll();
}

ConnectionSettings jetReadOnlySettings(const QString &text)
{
    const QMap<QString, QString> pairs = parseConnectionString(text);
    ConnectionSettings settings{pairs.value(QStringLiteral("provider")),
                                pairs.value(QStringLiteral("data source")),
                                pairs.value(QStringLiteral("mode"))};
    if (settings.provider.isEmpty())
        refuse(QStringLiteral("The connection string names no Provider; only %1 is available.").arg(kJetProvider));
    if (settings.provider.compare(kJetProvider, Qt::CaseInsensitive) != 0)
        refuse(QStringLiteral("Provider cannot be found: \"%1\". Only %2 is available.")
                   .arg(settings.provider, kJetProvider));
    if (settings.dataSource.isEmpty())
        refuse(QStringLiteral("The connection string names no Data Source (the database file)."));
    // We never write, so a string without a Mode is read-only all the same;
    // one that asks for anything more is refused rather than quietly narrowed.
    if (!settings.mode.isEmpty() && settings.mode.compare(QStringLiteral("Read"), Qt::CaseInsensitive) != 0)
        refuse(QStringLiteral("The database can only be opened for reading (Mode=Read), not with Mode=%1.")
                   .arg(settings.mode));
    return settings;
}

} // namespace platform::db
