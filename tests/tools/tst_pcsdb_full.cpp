// The full FY2020 release: the builder makes the whole database, and what
// mdbtools reads back agrees with the release files.

#include "ExpectedRelease.h"
#include "MdbExport.h"
#include "ToolsTestSupport.h"

#include <QElapsedTimer>
#include <algorithm>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

class PcsDbFullReleaseTest : public QObject {
    Q_OBJECT

private slots:
    void buildsTheWholeRelease();
};

void PcsDbFullReleaseTest::buildsTheWholeRelease()
{
    if (!cmsReleaseAvailable())
        QSKIP("The official CMS release is not in VORIMEL_CMS_DIR (" VORIMEL_CMS_DIR "); nothing to build it from.");
    QTemporaryDir dir;
    ReleasePaths paths;
    const QString unpackError = unpackCmsRelease(dir, &paths);
    QVERIFY2(unpackError.isEmpty(), qPrintable(unpackError));

    const QString output = dir.filePath("pcs.mdb");
    QElapsedTimer timer;
    timer.start();
    const ProgramRun run = runBuilder(paths.arguments(output));
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
    qInfo("built the FY2020 pcs.mdb in %lld ms (this build's flags), %lld bytes", elapsed, QFileInfo(output).size());

    ExpectedRelease expected;
    const QString error = expected.load(paths.order, paths.tables, paths.gem, paths.icd9);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(expected.codes.size(), 77559);
    QCOMPARE(countRows(output, "longpcs"), 77559LL);
    QString releaseError;
    const ExportedTable release = exportTable(output, "release", &releaseError);
    QVERIFY2(releaseError.isEmpty(), qPrintable(releaseError));
    QMap<QString, QString> items;
    for (const QStringList &row : release.rows)
        items.insert(row.value(0), row.value(1));
    QCOMPARE(items.value("ICD-10-PCS fiscal year"), QStringLiteral("2020"));
    QCOMPARE(items.value("GEM year"), QStringLiteral("2018"));
    QCOMPARE(items.value("ICD-9-CM version"), QStringLiteral("32"));
    QCOMPARE(items.value("codes"), QStringLiteral("77559"));
    QCOMPARE(items.value("sample"), QStringLiteral("no"));
    QCOMPARE(countRows(output, "getalldata"), static_cast<long long>(expected.getAllDataRowCount()));

    QString exportError;
    const ExportedTable longPcs = exportTable(output, "longpcs", &exportError);
    QVERIFY2(exportError.isEmpty(), qPrintable(exportError));
    QCOMPARE(longPcs.rows.size(), expected.codes.size());
    for (int i = 0; i < expected.codes.size(); ++i)
        QCOMPARE(longPcs.rows.at(i), expected.longPcsRow(i));

    const ExportedTable details = exportTable(output, "getalldata", &exportError);
    QVERIFY2(exportError.isEmpty(), qPrintable(exportError));
    QCOMPARE(details.columns, ExpectedRelease::getAllDataColumns());
    QHash<QString, QList<QStringList>> rowsOfCode;
    for (const QStringList &row : details.rows)
        rowsOfCode[row.value(2)].append(row);
    QCOMPARE(rowsOfCode.size(), expected.codes.size());

    QRandomGenerator random(20200401);
    int newer = 0, noEquivalent = 0, several = 0;
    for (int sample = 0; sample < 500; ++sample) {
        const int index = static_cast<int>(random.bounded(expected.codes.size()));
        const QList<QStringList> wanted = expected.getAllDataRows(index);
        QCOMPARE(rowsOfCode.value(expected.codes.at(index)), wanted);
        newer += wanted.first().at(3) == nullField;
        noEquivalent += wanted.first().at(3) == "NoI9";
        several += wanted.size() > 1;
    }
    // The code tables: every table and every label, in the file's order.
    QCOMPARE(expected.pcsTableRows.size(), 880);
    QCOMPARE(expected.tableRowCount, 2345);
    const QString tablesDiffer = expected.codeTablesDiffer(output);
    QVERIFY2(tablesDiffer.isEmpty(), qPrintable(tablesDiffer));
    const ExportedTable tables = exportTable(output, "pcstable", &exportError);
    const auto bypass = std::find_if(tables.rows.cbegin(), tables.rows.cend(),
                                     [](const QStringList &row) { return row.value(0) == "021"; });
    QVERIFY(bypass != tables.rows.cend());
    QCOMPARE(*bypass, QStringList({"021", "Medical and Surgical", "Heart and Great Vessels", "Bypass",
                                   "Altering the route of passage of the contents of a tubular body part"}));

    qInfo("500 random codes checked: %d newer than the GEM, %d without equivalent, %d with several ICD-9-CM codes",
          newer, noEquivalent, several);
}

QTEST_GUILESS_MAIN(PcsDbFullReleaseTest)
#include "tst_pcsdb_full.moc"
