#pragma once
// The sources the database objects name in their errors.

#include "platform/AppError.h"
#include "platform/db/Database.h"

namespace platform::db {

inline const QString kConnectionSource = QStringLiteral("ADODB.Connection");
inline const QString kRecordsetSource = QStringLiteral("ADODB.Recordset");

[[noreturn]] inline void raise(ErrorNumber number, const QString &source, const QString &description)
{
    throw AppError(number, source, description);
}

} // namespace platform::db
