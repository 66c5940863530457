#pragma once
// Connection strings as OLE DB writes them: "Key=Value" pairs separated by ';',
// keys without regard to case, values optionally in double or single quotes
// (a quote doubled inside stands for itself).

#include <QMap>
#include <QString>

namespace platform::db {

struct ConnectionSettings {
    QString provider;
    QString dataSource;
    QString mode; // empty when the string names none
};

// Keys come back trimmed and in lower case. Throws
// AppError(ErrBadConnectionString) for text that is not a list of pairs.
QMap<QString, QString> parseConnectionString(const QString &text);

// The settings this component works with: the Jet 4.0 provider, a Data
// Source, and no mode but reading. Throws AppError(ErrBadConnectionString).
ConnectionSettings jetReadOnlySettings(const QString &text);

} // namespace platform::db
