#include "ribbon/ErrorSource.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ribbon {

QString executableName()
{
    if (!QCoreApplication::instance())
        return QStringLiteral("vorimel");
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString errorSource(const QString &unit)
{
    return executableName() + unit;
}

} // namespace ribbon
