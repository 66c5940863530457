#pragma once
// Reads the code tables and what pcs.mdb says of one code, through the shared
// recordset (one statement at a time; events run between rows, so a caller
// passes the object whose life the reading depends on).

#include "codetables/CodeTableSet.h"

#include <QPointer>
#include <QStringList>
#include <optional>

namespace codetables {

enum class ReadOutcome {
    Read,
    NotInFile,   // the file has no pcstable or pcsaxis (made before they existed, or elsewhere)
    OwnerGone,   // the owner went away while rows were read
};

// Throws platform::AppError for failures other than missing tables.
ReadOutcome readCodeTables(const QPointer<QObject> &owner, CodeTableSet &tables);

struct CodeFacts {
    bool found = false;
    qint32 id = 0;      // the procedure's ID, as the search window knows it
    QString title;      // from longpcs
    QStringList icd9;   // "36.11 (Aorto)coronary bypass of one coronary artery", one per ICD-9 row
};

// What longpcs and getalldata hold for a code; nullopt when the owner went
// away. Throws platform::AppError.
std::optional<CodeFacts> readCodeFacts(const QString &code, const QPointer<QObject> &owner);
// The code of a procedure ID, empty when none; nullopt when the owner went away.
std::optional<QString> readCodeOfProcedure(qint32 id, const QPointer<QObject> &owner);

// The statements, for tests to recognise.
QString tablesStatement();
QString axesStatement();
QString codeFactsStatement(const QString &code);
QString titleStatement(qint32 id);
QString codeOfProcedureStatement(qint32 id);

} // namespace codetables
