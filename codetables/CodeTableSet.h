#pragma once
// The ICD-10-PCS code tables as pcs.mdb holds them (pcstable, pcsaxis): a table
// per first three characters, its rows, and per row the values each of
// characters 4 to 7 may take. Coders build a code from these the way they are
// taught: section, body system, root operation, then one value per axis.

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>

#include <array>

namespace codetables {

struct Choice {
    QChar key;     // the code character
    QString text;  // its label
};

struct RowAxis {
    QString title;
    QList<Choice> values;
    qsizetype indexOf(QChar value) const;
};

struct TableRow {
    std::array<RowAxis, 4> axes;  // characters 4, 5, 6 and 7
    // Whether characters 4 to 7 of code are values of this row.
    bool holds(QStringView code) const;
};

struct CodeTable {
    QString code;  // three characters
    QString section;
    QString bodySystem;
    QString operation;
    QString definition;
    QList<TableRow> rows;
    // The row holding code, -1 when none does.
    qsizetype rowHolding(QStringView code) const;
};

class CodeTableSet {
public:
    // More rows than any real table has; a damaged file cannot make the window
    // allocate without end.
    static constexpr int MaxRowsPerTable = 4096;

    // Tables come in the file's order; a code given twice keeps the first.
    void addTable(CodeTable table);
    // False, and nothing kept, for a table not added, a row number outside
    // 1..MaxRowsPerTable, or a position outside 4..7.
    bool addValue(const QString &tableCode, int rowNo, int pos, const QString &title, QChar value, const QString &label);

    bool isEmpty() const { return tables_.isEmpty(); }
    qsizetype tableCount() const { return tables_.size(); }
    const CodeTable *table(const QString &code) const;

    // The choices at each step, in the order of the file's tables.
    QList<Choice> sections() const;
    QList<Choice> bodySystems(QChar section) const;
    QList<Choice> operations(QChar section, QChar bodySystem) const;

private:
    QList<CodeTable> tables_;
    QHash<QString, qsizetype> index_;
};

} // namespace codetables
