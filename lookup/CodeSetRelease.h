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
    // Items are named as the builder writes them (platform/ReleaseTable.h).
    void set(const QString &item, const QString &value) { items_.insert(item, value); }
    QString value(const char *item) const { return items_.value(QLatin1String(item)); }

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
