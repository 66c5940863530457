#include "ExpectedRelease.h"

#include "MdbExport.h"

#include <QFile>
#include <QXmlStreamReader>

namespace {

bool readLines(const QString &path, QStringList *lines, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + ": " + file.errorString();
        return false;
    }
    const QString text = QString::fromLatin1(file.readAll());
    *lines = text.split('\n');
    if (!lines->isEmpty() && lines->last().isEmpty())
        lines->removeLast();
    for (QString &line : *lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return true;
}

struct AxisText {
    QString title;
    QString definition;
};

// Every (code character, label) of one <axis>, and its title and definition.
QList<QPair<QChar, QString>> axisLabels(QXmlStreamReader &xml, AxisText *text = nullptr)
{
    QList<QPair<QChar, QString>> labels;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("label")) {
            const QChar code = xml.attributes().value("code").at(0);
            labels.append({code, xml.readElementText().trimmed()});
        } else if (text && xml.name() == QLatin1String("title")) {
            text->title = xml.readElementText().trimmed();
        } else if (text && xml.name() == QLatin1String("definition")) {
            text->definition = xml.readElementText().trimmed();
        } else {
            xml.skipCurrentElement();
        }
    }
    return labels;
}

QString expandTables(const QString &path, ExpectedRelease &release)
{
    QHash<QString, QStringList> *labels = &release.labels;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return path + ": " + file.errorString();
    QXmlStreamReader xml(&file);
    xml.readNextStartElement();
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("pcsTable")) {
            xml.skipCurrentElement();
            continue;
        }
        QString prefix(3, ' ');
        QStringList tableLabels(3);
        QString definition;
        QList<QStringList> axisRows;  // the table's code is known only at its end
        int rowNo = 0;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("axis")) {
                const int pos = xml.attributes().value("pos").toInt();
                AxisText text;
                const auto only = axisLabels(xml, &text).constFirst();
                prefix[pos - 1] = only.first;
                tableLabels[pos - 1] = only.second;
                if (pos == 3)
                    definition = text.definition;
                continue;
            }
            if (xml.name() != QLatin1String("pcsRow")) {
                xml.skipCurrentElement();
                continue;
            }
            ++rowNo;
            ++release.tableRowCount;
            QList<QList<QPair<QChar, QString>>> axes(4);
            while (xml.readNextStartElement()) {
                const int pos = xml.attributes().value("pos").toInt();
                AxisText text;
                axes[pos - 4] = axisLabels(xml, &text);
                for (const auto &[value, label] : std::as_const(axes[pos - 4]))
                    axisRows.append({QString::number(rowNo), QString::number(pos), text.title, value, label});
            }
            for (const auto &a : axes[0])
                for (const auto &b : axes[1])
                    for (const auto &c : axes[2])
                        for (const auto &d : axes[3]) {
                            const QString code = prefix + a.first + b.first + c.first + d.first;
                            labels->insert(code, tableLabels + QStringList{a.second, b.second, c.second, d.second});
                        }
        }
        // mdb-export shows an empty text as it shows Null.
        release.pcsTableRows.append(QStringList{prefix} + tableLabels
                                    + QStringList{definition.isEmpty() ? nullField : definition});
        for (const QStringList &row : std::as_const(axisRows))
            release.pcsAxisRows.append(QStringList{prefix} + row);
    }
    return xml.hasError() ? path + ": " + xml.errorString() : QString();
}

} // namespace

QString ExpectedRelease::load(const QString &orderFile, const QString &tablesFile, const QString &gemFile,
                              const QString &icd9File)
{
    QString error;
    QStringList lines;
    if (!readLines(orderFile, &lines, &error))
        return error;
    for (const QString &line : lines) {
        const QString code = line.mid(6, 7).trimmed();
        orderText.insert(code, line.mid(5));
        if (line.size() > 14 && line.at(14) == '1') {
            codes.append(code);
            longTitle.insert(code, line.mid(77).trimmed());
        } else {
            headers.append(code);
        }
    }
    if (!readLines(gemFile, &gemLines, &error))
        return error;
    for (const QString &line : std::as_const(gemLines)) {
        QStringList &mapped = gemMappings[line.left(7)];
        const QString icd9 = line.mid(8, 5).trimmed();
        if (!mapped.contains(icd9))
            mapped.append(icd9);
    }
    if (!readLines(icd9File, &lines, &error))
        return error;
    for (const QString &line : std::as_const(lines)) {
        const QString code = line.section(' ', 0, 0);
        icd9Title.insert(code, line.mid(code.size()).trimmed());
    }
    return expandTables(tablesFile, *this);
}

QStringList ExpectedRelease::longPcsRow(int index) const
{
    return {QString::number(index + 1), longTitle.value(codes.at(index))};
}

QList<QStringList> ExpectedRelease::getAllDataRows(int index) const
{
    const QString code = codes.at(index);
    const QStringList head = longPcsRow(index) << code;
    const QStringList meaning = labels.value(code);
    if (!gemMappings.contains(code))
        return {head + QStringList{nullField, "Not in the ICD-9-CM mapping (code newer than the mapping)"} + meaning};
    QList<QStringList> rows;
    for (const QString &icd9 : gemMappings.value(code)) {
        if (icd9 == "NoI9")
            rows.append(head + QStringList{"NoI9", "No ICD-9-CM equivalent"} + meaning);
        else
            rows.append(head + QStringList{icd9.left(2) + '.' + icd9.mid(2), icd9Title.value(icd9)} + meaning);
    }
    return rows;
}

qsizetype ExpectedRelease::getAllDataRowCount() const
{
    qsizetype count = 0;
    for (const QString &code : codes)
        count += gemMappings.contains(code) ? gemMappings.value(code).size() : 1;
    return count;
}

QStringList ExpectedRelease::longPcsColumns()
{
    return {"ID", "Description"};
}

QStringList ExpectedRelease::getAllDataColumns()
{
    QStringList columns{"ID", "Description", "code", "pcs9", "pcs9desc"};
    for (int k = 1; k <= 7; ++k)
        columns << QString("character %1").arg(k);
    return columns;
}

QStringList ExpectedRelease::pcsTableColumns()
{
    return {"Code", "Section", "BodySystem", "Operation", "Definition"};
}

QStringList ExpectedRelease::pcsAxisColumns()
{
    return {"Code", "RowNo", "Pos", "Title", "Value", "Label"};
}

QString ExpectedRelease::codeTablesDiffer(const QString &database) const
{
    const auto differ = [&](const QString &table, const QStringList &columns, const QList<QStringList> &rows) {
        QString error;
        const ExportedTable exported = exportTable(database, table, &error);
        if (!error.isEmpty())
            return error;
        if (exported.columns != columns)
            return table + ": columns " + exported.columns.join(',');
        if (exported.rows.size() != rows.size())
            return table + QString(": %1 rows, not %2").arg(exported.rows.size()).arg(rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (exported.rows.at(i) != rows.at(i))
                return table + QString(": row %1 is [%2], not [%3]")
                                   .arg(i + 1)
                                   .arg(exported.rows.at(i).join('|'), rows.at(i).join('|'));
        }
        return QString();
    };
    const QString tables = differ("pcstable", pcsTableColumns(), pcsTableRows);
    return tables.isEmpty() ? differ("pcsaxis", pcsAxisColumns(), pcsAxisRows) : tables;
}
