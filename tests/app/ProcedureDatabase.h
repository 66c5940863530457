#pragma once
// pcs.mdb files for the program's tests, written with the Jet writer.

#include <QString>

namespace apptest {

// Writes folder/pcs.mdb with `count` procedures in longpcs and one getalldata
// row each; every description contains "Procedure". Returns the file's path.
QString writeProcedureDatabase(const QString &folder, int count);

// Writes bytes that are not a Jet database under folder/pcs.mdb.
QString writeDamagedDatabase(const QString &folder);

} // namespace apptest
