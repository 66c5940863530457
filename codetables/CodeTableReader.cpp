#include "codetables/CodeTableReader.h"

#include "lookup/SharedQuery.h"
#include "lookup/Statements.h"
#include "platform/db/Database.h"

namespace codetables {

using platform::db::Recordset;

namespace {

QString text(const Recordset &row, const char *column)
{
    return row.field(QString::fromLatin1(column)).toString();
}

int number(const Recordset &row, const char *column)
{
    bool ok = false;
    const int value = row.field(QString::fromLatin1(column)).value().toInt(&ok);
    return ok ? value : 0;
}

bool isMissingTable(const platform::AppError &error)
{
    // A file without the tables, or with tables of that name but other columns.
    return error.number() == platform::db::ErrStatement
           && (error.description().contains(QStringLiteral("no such table"))
               || error.description().contains(QStringLiteral("no such column")));
}

} // namespace

QString tablesStatement()
{
    return QStringLiteral("SELECT Code, Section, BodySystem, Operation, Definition FROM pcstable;");
}

QString axesStatement()
{
    return QStringLiteral("SELECT Code, RowNo, Pos, Title, [Value], Label FROM pcsaxis;");
}

QString codeFactsStatement(const QString &code)
{
    return QStringLiteral("SELECT ID, pcs9, pcs9desc FROM getalldata where code = '") + lookup::quoted(code)
           + QStringLiteral("' ;");
}

QString titleStatement(qint32 id)
{
    return QStringLiteral("SELECT [Description] FROM longpcs where ID= ") + QString::number(id) + QStringLiteral(" ;");
}

QString codeOfProcedureStatement(qint32 id)
{
    return QStringLiteral("SELECT code FROM getalldata where ID= ") + QString::number(id) + QStringLiteral(" ;");
}

ReadOutcome readCodeTables(const QPointer<QObject> &owner, CodeTableSet &tables)
{
    try {
        {
            lookup::SharedQuery query(tablesStatement());
            const bool finished = query.forEachRow(owner, [&](const Recordset &row) {
                tables.addTable({text(row, "Code"), text(row, "Section"), text(row, "BodySystem"),
                                 text(row, "Operation"), text(row, "Definition"), {}});
            });
            if (!finished)
                return ReadOutcome::OwnerGone;
        }
        lookup::SharedQuery query(axesStatement());
        const bool finished = query.forEachRow(owner, [&](const Recordset &row) {
            const QString value = text(row, "Value");
            if (value.size() == 1)
                tables.addValue(text(row, "Code"), number(row, "RowNo"), number(row, "Pos"), text(row, "Title"),
                                value[0], text(row, "Label"));
        });
        if (!finished)
            return ReadOutcome::OwnerGone;
    } catch (const platform::AppError &error) {
        if (!isMissingTable(error))
            throw;
        tables = CodeTableSet();
        return ReadOutcome::NotInFile;
    }
    return tables.isEmpty() ? ReadOutcome::NotInFile : ReadOutcome::Read;
}

std::optional<CodeFacts> readCodeFacts(const QString &code, const QPointer<QObject> &owner)
{
    CodeFacts facts;
    {
        lookup::SharedQuery query(codeFactsStatement(code));
        const bool finished = query.forEachRow(owner, [&](const Recordset &row) {
            facts.found = true;
            facts.id = number(row, "ID");
            const QString icd9 = text(row, "pcs9");
            const QString title = text(row, "pcs9desc");
            facts.icd9 << (icd9.isEmpty() ? title : icd9 + QLatin1Char(' ') + title);
        });
        if (!finished)
            return std::nullopt;
    }
    if (!facts.found)
        return facts;
    lookup::SharedQuery query(titleStatement(facts.id));
    if (!query.forEachRow(owner, [&](const Recordset &row) { facts.title = text(row, "Description"); }))
        return std::nullopt;
    return facts;
}

std::optional<QString> readCodeOfProcedure(qint32 id, const QPointer<QObject> &owner)
{
    QString code;
    lookup::SharedQuery query(codeOfProcedureStatement(id));
    if (!query.forEachRow(owner, [&](const Recordset &row) { code = text(row, "code"); }))
        return std::nullopt;
    return code;
}

} // namespace codetables
