#pragma once
// Which code set pcs.mdb holds. Codes change every October and a claim must
// use the set valid at discharge, so the coder is told which one this is.
// vorimel-pcsdb records it in a small table `release` of (Item, Value) text
// rows; a pcs.mdb made elsewhere has no such table and gets a neutral line.

#include <QMap>
#include <QString>
#include <optional>

namespace lookup {

class CodeSetRelease {
public:
    // The table and the items the credit line names, as the builder writes
    // them (platform/ReleaseTable.h).
    static const QString TableName;
    static const QString FiscalYear;
    static const QString GemYear;
    static const QString Icd9Version;
    static const QString CodeCount;
    static const QString Sample;

    void set(const QString &item, const QString &value) { items_.insert(item, value); }
    QString value(const QString &item) const { return items_.value(item); }

    // Reads the table through the open shared connection with a recordset of
    // its own, so a search being read meanwhile is not disturbed. Nothing when
    // the table is missing or unreadable.
    static std::optional<CodeSetRelease> read();

    // "Code tables: CMS ICD-10-PCS FY2020 (77,559 codes), GEM 2018, ICD-9-CM v32"
    QString creditLine() const;
    // The line for a database that does not say what it holds.
    static QString neutralCreditLine();
    static QString creditLineOf(const std::optional<CodeSetRelease> &release);

private:
    QMap<QString, QString> items_;
};

} // namespace lookup
