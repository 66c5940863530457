#pragma once
// What pcs.mdb must hold for a release, worked out from the four files by this
// test's own, deliberately plain reading: the XML rows are expanded into every
// code they make, the fixed-width files are cut by column. It shares no code with
// the builder, so a fault there does not hide itself here.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct ExpectedRelease {
    QStringList codes;                       // valid codes in order-file order
    QStringList headers;                     // table headers (flag 0) in order
    QHash<QString, QString> orderText;       // code or header -> the line from column 6 on
    QHash<QString, QString> longTitle;
    QHash<QString, QStringList> labels;      // code -> seven labels, from the XML
    QHash<QString, QStringList> gemMappings; // code -> distinct ICD-9 codes in GEM order
    QStringList gemLines;                    // every GEM line as written
    QHash<QString, QString> icd9Title;
    QList<QStringList> pcsTableRows;         // Code, Section, BodySystem, Operation, Definition
    QList<QStringList> pcsAxisRows;          // Code, RowNo, Pos, Title, Value, Label
    int tableRowCount = 0;                   // <pcsRow> elements in all

    // Empty on success, else what went wrong.
    QString load(const QString &orderFile, const QString &tablesFile, const QString &gemFile, const QString &icd9File);

    // The rows for one code, with the ID it must get; null fields are nullField.
    QStringList longPcsRow(int index) const;
    QList<QStringList> getAllDataRows(int index) const;
    qsizetype getAllDataRowCount() const;

    static QStringList longPcsColumns();
    static QStringList getAllDataColumns();
    // Empty when pcstable and pcsaxis of the database hold exactly these rows,
    // else the first difference.
    QString codeTablesDiffer(const QString &database) const;

    static QStringList pcsTableColumns();
    static QStringList pcsAxisColumns();
};
