#pragma once
// Errors the ribbon raises name the program (its executable's file name without
// extension) as their source, optionally followed by the raising unit.

#include <QString>

namespace ribbon {

QString executableName();
// executableName() followed by unit, e.g. ".cLoadResPicture".
QString errorSource(const QString &unit = QString());

} // namespace ribbon
