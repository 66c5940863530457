#pragma once
// The engine's refusal of a statement. The description names the fault and
// quotes the statement; the recordset shows it to the user as it stands.

#include "platform/db/engine/LayerGuard.h"

#include <QByteArray>
#include <QString>

#include <exception>

namespace platform::db {

class StatementRejected : public std::exception {
public:
    explicit StatementRejected(QString description)
        : description_(std::move(description)), utf8_(description_.toUtf8()) {}
    const QString &description() const { return description_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString description_;
    QByteArray utf8_;
};

} // namespace platform::db
