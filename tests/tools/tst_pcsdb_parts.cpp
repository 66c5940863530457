// The builder's readers and row assembly, on the parts a command-line run cannot
// show in isolation: the code alphabet, ICD-9 code notation, encodings and line
// ends, the tables' code look-up, and the GEM's repeated pairs.

#include "CraftedRelease.h"

#include "tools/GemFile.h"
#include "tools/Icd9Code.h"
#include "tools/Icd9Titles.h"
#include "tools/OrderFile.h"
#include "tools/PcsCode.h"
#include "tools/PcsRows.h"
#include "tools/Progress.h"
#include "tools/Release.h"
#include "tools/SourceError.h"
#include "tools/TablesXmlReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace {

std::filesystem::path writeBytes(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path.toStdString();
}

QString meaningText(const pcsdb::PcsTables &tables, const char *code)
{
    const auto meaning = tables.meaningOf(code);
    if (!meaning)
        return "(none)";
    QStringList labels;
    for (std::string_view label : *meaning)
        labels << QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
    return labels.join(" | ");
}

} // namespace

class PcsDbPartsTest : public QObject {
    Q_OBJECT

private slots:
    void alphabetLeavesOutIAndO();
    void icd9CodesGetTheirDecimalPoint();
    void orderFileLineEndsAndTrailingBlanks();
    void latin1TitlesBecomeUtf8();
    void tablesFindTheRowHoldingACode();
    void gemKeepsOrderAndCountsARepeatedPairOnce();
    void assemblyGivesEachKindOfCodeItsRows();
};

void PcsDbPartsTest::alphabetLeavesOutIAndO()
{
    std::set<int> indices;
    for (char c = '0'; c <= 'Z'; ++c) {
        const int index = pcsdb::pcsCharacterIndex(c);
        const bool expected = (c <= '9' || c >= 'A') && c != 'I' && c != 'O';
        QCOMPARE(index >= 0, expected);
        if (index >= 0)
            QVERIFY(indices.insert(index).second);
    }
    QCOMPARE(indices.size(), std::size_t(34));
    QCOMPARE(*indices.rbegin(), 33);
    QVERIFY(pcsdb::isPcsCode("0210093"));
    QVERIFY(!pcsdb::isPcsCode("021009"));
    QVERIFY(!pcsdb::isPcsCode("02100a3"));
}

void PcsDbPartsTest::icd9CodesGetTheirDecimalPoint()
{
    QCOMPARE(pcsdb::icd9WithDecimalPoint("0231"), std::string("02.31"));
    QCOMPARE(pcsdb::icd9WithDecimalPoint("016"), std::string("01.6"));
    QVERIFY(pcsdb::isIcd9ProcedureCode("016"));
    QVERIFY(!pcsdb::isIcd9ProcedureCode("01"));
    QVERIFY(!pcsdb::isIcd9ProcedureCode("02.3"));
    QVERIFY(!pcsdb::isIcd9ProcedureCode("02311"));
}

void PcsDbPartsTest::orderFileLineEndsAndTrailingBlanks()
{
    // LF and CRLF mixed, a trailing blank after one long title, no line end at the end.
    const QByteArray text = CraftedRelease::orderLine(1, "6AB", "Perfusion", "Perfusion").toLatin1() + "\n"
                            + CraftedRelease::orderLine(2, "6AB50BZ", "Perf Donor Resp", "Perfusion of Donor Respiratory System, Single  ").toLatin1()
                            + "\r\n" + CraftedRelease::orderLine(3, "6ABB0BZ", "Perf Donor Hepatobil", "Perfusion of Donor Hepatobiliary System and Pancreas, Single").toLatin1();
    QTemporaryDir dir;
    const auto entries = pcsdb::readOrderFile(writeBytes(dir, "order.txt", text));
    QCOMPARE(entries.size(), std::size_t(2));
    QCOMPARE(entries[0].code, std::string("6AB50BZ"));
    QCOMPARE(entries[0].longTitle, std::string("Perfusion of Donor Respiratory System, Single"));
    QCOMPARE(entries[0].line, 2LL);
    QCOMPARE(entries[1].longTitle, std::string("Perfusion of Donor Hepatobiliary System and Pancreas, Single"));
    QCOMPARE(entries[1].line, 3LL);
}

void PcsDbPartsTest::latin1TitlesBecomeUtf8()
{
    QTemporaryDir dir;
    const auto titles = pcsdb::Icd9Titles::read(writeBytes(dir, "titles.txt", "016  Excision of l\xe9sion of skull  \n3611 Bypass\n"));
    QVERIFY(titles.titleOf("016"));
    QCOMPARE(QString::fromStdString(*titles.titleOf("016")), QString::fromUtf8("Excision of l\u00e9sion of skull"));
    QVERIFY(!titles.titleOf("0161"));

    const QByteArray line = CraftedRelease::orderLine(1, "6AB50BZ", "Perf", "Perfusion ").toLatin1() + "\xb5";
    const auto entries = pcsdb::readOrderFile(writeBytes(dir, "order.txt", line));
    QCOMPARE(QString::fromStdString(entries.at(0).longTitle), QString::fromUtf8("Perfusion \u00b5"));
}

void PcsDbPartsTest::tablesFindTheRowHoldingACode()
{
    QTemporaryDir dir;
    const pcsdb::PcsTables tables = pcsdb::readTablesXml(CraftedRelease().write(dir.path()).tables.toStdString());
    QCOMPARE(tables.tableCount(), std::size_t(2));
    QCOMPARE(meaningText(tables, "02100A3"), QString("Medical and Surgical | Heart and Great Vessels | Bypass | "
                                                     "Coronary Artery, One Artery | Open | Autologous Arterial Tissue | Coronary Artery"));
    QCOMPARE(meaningText(tables, "0211093"), QString("Medical and Surgical | Heart and Great Vessels | Bypass | "
                                                     "Coronary Artery, Two Arteries | Open | Autologous Venous Tissue | Coronary Artery"));
    QCOMPARE(meaningText(tables, "02110A3"), QString("(none)"));  // each axis allows it, but no single row does
    QCOMPARE(meaningText(tables, "0230093"), QString("(none)"));  // no such table
    QCOMPARE(meaningText(tables, "021009"), QString("(none)"));
}

void PcsDbPartsTest::gemKeepsOrderAndCountsARepeatedPairOnce()
{
    QTemporaryDir dir;
    const auto gem = pcsdb::GemFile::read(writeBytes(dir, "gem.txt",
                                                     "02B40ZZ 0040  10112\n02B40ZZ 3699  10111\n02B40ZZ 3699  10000\n"
                                                     "02B40ZZ 0040  10113\n02B40ZZ 016   10000\n"));
    const auto *mappings = gem.mappingsOf("02B40ZZ");
    QVERIFY(mappings);
    QStringList codes;
    for (const auto &mapping : *mappings)
        codes << QString::fromStdString(mapping.icd9Code) + '@' + QString::number(mapping.line);
    QCOMPARE(codes, QStringList({"0040@1", "3699@2", "016@5"}));
    QVERIFY(!gem.mappingsOf("02B40ZX"));
}

void PcsDbPartsTest::assemblyGivesEachKindOfCodeItsRows()
{
    QTemporaryDir dir;
    const ReleasePaths paths = CraftedRelease().write(dir.path());
    pcsdb::Progress progress;
    const pcsdb::Release release = pcsdb::Release::read(
        {paths.order.toStdString(), paths.tables.toStdString(), paths.gem.toStdString(), paths.icd9.toStdString()}, progress);
    const pcsdb::PcsRows rows = pcsdb::assemblePcsRows(release);
    QCOMPARE(rows.procedures.size(), std::size_t(4));
    QStringList summary;
    for (const auto &detail : rows.details) {
        const auto &procedure = rows.procedures.at(detail.procedure);
        summary << QString("%1 %2 %3").arg(procedure.id).arg(QString::fromStdString(procedure.code),
                                                             detail.pcs9 ? QString::fromStdString(*detail.pcs9) : "Null");
    }
    QCOMPARE(summary, QStringList({"1 0210093 36.12", "1 0210093 36.11", "1 0210093 36.99", "2 02100A3 36.11",
                                   "3 0211093 Null", "4 6AB50BZ NoI9"}));
    QCOMPARE(rows.details.at(4).pcs9desc, std::string(pcsdb::newerThanGemDescription));
    QCOMPARE(rows.details.at(5).pcs9desc, std::string(pcsdb::noEquivalentDescription));
}

QTEST_GUILESS_MAIN(PcsDbPartsTest)
#include "tst_pcsdb_parts.moc"
