// The sample release: the database built from it holds what its files say, it
// covers every kind of code, and, when the official release is at hand, each of
// its tables agrees with the official one.

#include "ExpectedRelease.h"
#include "MdbExport.h"
#include "ToolsTestSupport.h"

#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString loadExpected(const ReleasePaths &paths, ExpectedRelease *release)
{
    return release->load(paths.order, paths.tables, paths.gem, paths.icd9);
}

// Every row of both tables as the sample's files say they must be.
void compareWithRelease(const QString &database, const ExpectedRelease &expected)
{
    QString error;
    const ExportedTable longPcs = exportTable(database, "longpcs", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(longPcs.columns, ExpectedRelease::longPcsColumns());
    QList<QStringList> expectedLongPcs;
    QList<QStringList> expectedDetails;
    for (int i = 0; i < expected.codes.size(); ++i) {
        expectedLongPcs << expected.longPcsRow(i);
        expectedDetails << expected.getAllDataRows(i);
    }
    QCOMPARE(longPcs.rows, expectedLongPcs);

    const ExportedTable details = exportTable(database, "getalldata", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(details.columns, ExpectedRelease::getAllDataColumns());
    QCOMPARE(details.rows.size(), expectedDetails.size());
    for (qsizetype i = 0; i < details.rows.size(); ++i)
        QCOMPARE(details.rows.at(i), expectedDetails.at(i));

    const QString tablesDiffer = expected.codeTablesDiffer(database);
    QVERIFY2(tablesDiffer.isEmpty(), qPrintable(tablesDiffer));
}

// The release table as (Item -> Value).
QMap<QString, QString> releaseItems(const QString &database)
{
    QString error;
    const ExportedTable release = exportTable(database, "release", &error);
    if (!error.isEmpty() || release.columns != QStringList{"Item", "Value"})
        return {};
    QMap<QString, QString> items;
    for (const QStringList &row : release.rows)
        items.insert(row.value(0), row.value(1));
    return items;
}

} // namespace

class PcsDbSampleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sampleCoversEveryKindOfCode();
    void databaseHoldsWhatTheSampleSays();
    void buildPutsTheSampleBesideThePrograms();
    void databaseSaysWhatItWasBuiltFrom();
    void sampleAgreesWithTheOfficialRelease();

private:
    ExpectedRelease m_sample;
};

void PcsDbSampleTest::initTestCase()
{
    const QString error = loadExpected(sampleRelease(), &m_sample);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void PcsDbSampleTest::sampleCoversEveryKindOfCode()
{
    QMap<QString, int> kinds;
    for (const QString &code : std::as_const(m_sample.codes)) {
        QVERIFY2(m_sample.labels.contains(code), qPrintable(code + " is not in the sample's tables"));
        const QStringList mapped = m_sample.gemMappings.value(code);
        if (!m_sample.gemMappings.contains(code))
            ++kinds["newer than the GEM"];
        else if (mapped == QStringList{"NoI9"})
            ++kinds["no equivalent"];
        else
            ++kinds[QString("%1 ICD-9-CM codes").arg(mapped.size())];
        for (const QString &icd9 : mapped)
            QVERIFY2(icd9 == "NoI9" || m_sample.icd9Title.contains(icd9), qPrintable(icd9 + " has no title"));
    }
    qInfo() << "sample:" << m_sample.codes.size() << "codes in" << m_sample.headers.size() << "tables;" << kinds;
    for (const char *kind : {"1 ICD-9-CM codes", "2 ICD-9-CM codes", "3 ICD-9-CM codes", "no equivalent", "newer than the GEM"})
        QVERIFY2(kinds.value(kind) > 0, kind);
    QVERIFY(m_sample.codes.size() >= 200 && m_sample.codes.size() <= 5000);
}

void PcsDbSampleTest::databaseHoldsWhatTheSampleSays()
{
    QTemporaryDir dir;
    const QString output = dir.filePath("pcs.mdb");
    const ProgramRun run = runBuilder(sampleRelease().arguments(output));
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
    compareWithRelease(output, m_sample);
}

void PcsDbSampleTest::buildPutsTheSampleBesideThePrograms()
{
    const QString beside = QStringLiteral(VORIMEL_BIN_DIR "/pcs.mdb");
    QVERIFY2(QFileInfo::exists(beside), "the build did not make pcs.mdb beside the programs");
    compareWithRelease(beside, m_sample);
}

void PcsDbSampleTest::databaseSaysWhatItWasBuiltFrom()
{
    QTemporaryDir dir;
    const QString output = dir.filePath("pcs.mdb");
    qputenv("SOURCE_DATE_EPOCH", "1570000000"); // 2019-10-02
    const ProgramRun run = runBuilder(sampleRelease().arguments(output));
    qunsetenv("SOURCE_DATE_EPOCH");
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
    const QMap<QString, QString> items = releaseItems(output);
    QCOMPARE(items.value("ICD-10-PCS fiscal year"), QStringLiteral("2020"));
    QCOMPARE(items.value("ICD-10-PCS tables title"), QStringLiteral("Vorimel sample of the 2020 ICD-10-PCS Tables"));
    QCOMPARE(items.value("ICD-10-PCS order file"), QStringLiteral("icd10pcs_order_sample.txt"));
    QCOMPARE(items.value("GEM file"), QStringLiteral("pcs_gem_sample.txt"));
    // The sample's file names carry no year or version: those items are left out.
    QVERIFY(!items.contains("GEM year"));
    QVERIFY(!items.contains("ICD-9-CM version"));
    QCOMPARE(items.value("ICD-9-CM titles file"), QStringLiteral("icd9_titles_sample.txt"));
    QCOMPARE(items.value("codes"), QString::number(m_sample.codes.size()));
    QCOMPARE(items.value("built on"), QStringLiteral("2019-10-02"));
    QCOMPARE(items.value("sample"), QStringLiteral("yes"));
    QCOMPARE(items.size(), 9);
}

void PcsDbSampleTest::sampleAgreesWithTheOfficialRelease()
{
    if (!cmsReleaseAvailable())
        QSKIP("The official CMS release is not in VORIMEL_CMS_DIR (" VORIMEL_CMS_DIR "); the sample cannot be checked against it.");
    QTemporaryDir dir;
    ReleasePaths paths;
    const QString unpackError = unpackCmsRelease(dir, &paths);
    QVERIFY2(unpackError.isEmpty(), qPrintable(unpackError));
    ExpectedRelease official;
    const QString error = loadExpected(paths, &official);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    // Each sample table holds exactly the official table's codes, with its titles and labels.
    const QSet<QString> tables(m_sample.headers.cbegin(), m_sample.headers.cend());
    QStringList officialCodes;
    for (const QString &code : std::as_const(official.codes)) {
        if (tables.contains(code.left(3)))
            officialCodes << code;
    }
    QCOMPARE(m_sample.codes, officialCodes);
    for (const QString &header : std::as_const(m_sample.headers))
        QCOMPARE(m_sample.orderText.value(header), official.orderText.value(header));
    for (const QString &code : std::as_const(m_sample.codes)) {
        QCOMPARE(m_sample.orderText.value(code), official.orderText.value(code));
        QCOMPARE(m_sample.labels.value(code), official.labels.value(code));
    }
    // The GEM rows of those tables, all of them and in the GEM's order.
    QStringList officialGem;
    for (const QString &line : std::as_const(official.gemLines)) {
        if (tables.contains(line.left(3)))
            officialGem << line;
    }
    QCOMPARE(m_sample.gemLines, officialGem);
    for (auto title = m_sample.icd9Title.cbegin(); title != m_sample.icd9Title.cend(); ++title)
        QCOMPARE(title.value(), official.icd9Title.value(title.key()));
}

QTEST_GUILESS_MAIN(PcsDbSampleTest)
#include "tst_pcsdb_sample.moc"
