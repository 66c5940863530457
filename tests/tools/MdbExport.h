#pragma once
// Reads a table of an .mdb file through the mdbtools command-line tools, a
// reader independent of ours, so tests see what another program would see.

#include <QList>
#include <QString>
#include <QStringList>

// How a Null field appears in the rows below (no real value looks like this).
inline const QString nullField = QStringLiteral("<Null>");

struct ExportedTable {
    QStringList columns;
    QList<QStringList> rows;
};

// Runs mdb-export; on failure returns no columns and sets error.
ExportedTable exportTable(const QString &mdbFile, const QString &table, QString *error);
// Runs mdb-count; -1 on failure.
long long countRows(const QString &mdbFile, const QString &table);
// Splits mdb-export's CSV: quoted fields are text (quotes doubled inside), an
// empty unquoted field is Null.
QList<QStringList> parseMdbExportCsv(const QByteArray &csv, QString *error);
