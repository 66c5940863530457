// vorimel-pcsdb run as a user runs it: on a small crafted release, on broken
// copies of it, and with faulty command lines.

#include "CraftedRelease.h"
#include "ExpectedRelease.h"
#include "MdbExport.h"
#include "ToolsTestSupport.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString newer = "Not in the ICD-9-CM mapping (code newer than the mapping)";
const QStringList venousMeaning = {"Medical and Surgical", "Heart and Great Vessels", "Bypass",
                                   "Coronary Artery, One Artery", "Open", "Autologous Venous Tissue",
                                   "Coronary Artery"};

enum class Part { Order, Tables, Gem, Icd9 };

QStringList &linesOf(CraftedRelease &release, Part part)
{
    switch (part) {
    case Part::Order: return release.order;
    case Part::Tables: return release.tables;
    case Part::Gem: return release.gem;
    case Part::Icd9: return release.icd9;
    }
    Q_UNREACHABLE();
}

QString fileNameOf(Part part)
{
    const QStringList names{"icd10pcs_order_test.txt", "icd10pcs_tables_test.xml", "pcs_gem_test.txt",
                            "icd9_titles_test.txt"};
    return names.at(static_cast<int>(part));
}

QStringList inputFileNames(const QStringList &more = {})
{
    QStringList names = more;
    for (Part part : {Part::Order, Part::Tables, Part::Gem, Part::Icd9})
        names << fileNameOf(part);
    names.sort();
    return names;
}

// The crafted release's first pcsTable, as lines of text.
QString tableCopy()
{
    const QStringList lines = CraftedRelease().tables;
    const qsizetype first = lines.indexOf("  <pcsTable>");
    const qsizetype last = lines.indexOf("  </pcsTable>");
    return lines.mid(first, last - first + 1).join('\n');
}

// The arguments naming a release's files, without --output.
QStringList releaseArguments(const ReleasePaths &paths)
{
    QStringList arguments = paths.arguments(QString());
    arguments.resize(arguments.size() - 2);
    return arguments;
}

// The installed layout in miniature below root: the builder in usr/bin, the program
// folder usr/lib/vorimel, and (when linked) its pcs.mdb a link to var/lib/vorimel/pcs.mdb,
// which does not exist yet. Returns the builder's path.
QString installedLayout(const QDir &root, bool withProgramFolder)
{
    root.mkpath("usr/bin");
    const QString tool = root.filePath("usr/bin/vorimel-pcsdb");
    QFile::copy(builderProgram(), tool);
    if (withProgramFolder) {
        root.mkpath("usr/lib/vorimel");
        root.mkpath("var/lib/vorimel");
        QFile::link(root.filePath("var/lib/vorimel/pcs.mdb"), root.filePath("usr/lib/vorimel/pcs.mdb"));
    }
    return tool;
}

} // namespace

Q_DECLARE_METATYPE(Part)

class PcsDbCommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void buildsEveryKindOfCode();
    void refusesFaultyRelease_data();
    void refusesFaultyRelease();
    void refusesMissingOrUnreadableFile_data();
    void refusesMissingOrUnreadableFile();
    void keepsPreviousDatabaseWhenBuildFails();
    void commandLineFaults_data();
    void commandLineFaults();
    void helpListsEveryOption();
    void progressOnlyOnTerminal();
    void installWritesWhereTheProgramFoldersLinkPoints();
    void installWithoutAnInstalledProgramFails();
    void outputThroughALinkKeepsTheLink();
};

void PcsDbCommandLineTest::buildsEveryKindOfCode()
{
    QTemporaryDir dir;
    const ReleasePaths paths = CraftedRelease().write(dir.path());
    const QString output = dir.filePath("pcs.mdb");
    const ProgramRun run = runBuilder(paths.arguments(output));
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));  // no terminal, so no progress either
    QCOMPARE(filesIn(dir.path()), inputFileNames({"pcs.mdb"}));

    QString error;
    const ExportedTable longPcs = exportTable(output, "longpcs", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(longPcs.columns, ExpectedRelease::longPcsColumns());
    const QList<QStringList> expectedLongPcs = {
        {"1", "Bypass Coronary Artery, One Artery from Coronary Artery with Autologous Venous Tissue, Open Approach"},
        {"2", "Bypass Coronary Artery, One Artery from Coronary Artery with Autologous Arterial Tissue, Open Approach"},
        {"3", "Bypass Coronary Artery, Two Arteries from Coronary Artery with Autologous Venous Tissue, Open Approach"},
        {"4", "Perfusion of Donor Respiratory System, Single"},
    };
    QCOMPARE(longPcs.rows, expectedLongPcs);

    const ExportedTable details = exportTable(output, "getalldata", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(details.columns, ExpectedRelease::getAllDataColumns());
    auto row = [&expectedLongPcs](int id, const QString &code, const QString &pcs9, const QString &pcs9desc, const QStringList &meaning) {
        return QStringList{QString::number(id), expectedLongPcs.at(id - 1).at(1), code, pcs9, pcs9desc} + meaning;
    };
    QStringList arterialMeaning = venousMeaning;
    arterialMeaning[5] = "Autologous Arterial Tissue";
    QStringList twoArteriesMeaning = venousMeaning;
    twoArteriesMeaning[3] = "Coronary Artery, Two Arteries";
    const QStringList perfusionMeaning = {"Extracorporeal or Systemic Therapies", "Physiological Systems", "Perfusion",
                                          "Respiratory System", "Single", "Donor Organ", "No Qualifier"};
    // Within one code the GEM's order holds, even where it is not sorted.
    const QList<QStringList> expectedDetails = {
        row(1, "0210093", "36.12", "(Aorto)coronary bypass of two coronary arteries", venousMeaning),
        row(1, "0210093", "36.11", "(Aorto)coronary bypass of one coronary artery", venousMeaning),
        row(1, "0210093", "36.99", "Other operations on vessels of heart", venousMeaning),
        row(2, "02100A3", "36.11", "(Aorto)coronary bypass of one coronary artery", arterialMeaning),
        row(3, "0211093", nullField, newer, twoArteriesMeaning),
        row(4, "6AB50BZ", "NoI9", "No ICD-9-CM equivalent", perfusionMeaning),
    };
    QCOMPARE(details.rows, expectedDetails);

    // The code tables in file order. A table without a definition gets an empty
    // one, which mdb-export shows as it shows Null.
    const ExportedTable tables = exportTable(output, "pcstable", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(tables.columns, ExpectedRelease::pcsTableColumns());
    QCOMPARE(tables.rows, QList<QStringList>({
                              {"021", "Medical and Surgical", "Heart and Great Vessels", "Bypass",
                               "Altering the route of passage of the contents of a tubular body part"},
                              {"6AB", "Extracorporeal or Systemic Therapies", "Physiological Systems", "Perfusion", nullField},
                          }));
    const ExportedTable axes = exportTable(output, "pcsaxis", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(axes.columns, ExpectedRelease::pcsAxisColumns());
    QCOMPARE(axes.rows, QList<QStringList>({
                            {"021", "1", "4", "Body Part", "0", "Coronary Artery, One Artery"},
                            {"021", "1", "5", "Approach", "0", "Open"},
                            {"021", "1", "6", "Device", "9", "Autologous Venous Tissue"},
                            {"021", "1", "6", "Device", "A", "Autologous Arterial Tissue"},
                            {"021", "1", "7", "Qualifier", "3", "Coronary Artery"},
                            {"021", "2", "4", "Body Part", "1", "Coronary Artery, Two Arteries"},
                            {"021", "2", "5", "Approach", "0", "Open"},
                            {"021", "2", "6", "Device", "9", "Autologous Venous Tissue"},
                            {"021", "2", "7", "Qualifier", "3", "Coronary Artery"},
                            {"6AB", "1", "4", "Body System", "5", "Respiratory System"},
                            {"6AB", "1", "5", "Duration", "0", "Single"},
                            {"6AB", "1", "6", "Qualifier", "B", "Donor Organ"},
                            {"6AB", "1", "7", "Qualifier", "Z", "No Qualifier"},
                        }));
}

void PcsDbCommandLineTest::refusesFaultyRelease_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<QString>("lineHolding");  // the first line containing this is replaced
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("complaint");    // part of the expected message
    QTest::addColumn<int>("reportedLine");     // where the fault shows; 0: the replaced line

    const QString goodLong = "Bypass Coronary Artery, One Artery from Coronary Artery with Autologous Arterial Tissue, Open Approach";
    auto order = [&](int number, const QString &code) { return CraftedRelease::orderLine(number, code, "Short", goodLong); };

    QTest::newRow("order: code not in the tables") << Part::Order << "02100A3" << order(3, "02100A4") << "02100A4 is not in the tables" << 0;
    QTest::newRow("order: line too short") << Part::Order << "02100A3" << "00003 02100A3 1 Short" << "too short" << 0;
    QTest::newRow("order: number not digits") << Part::Order << "02100A3" << order(3, "02100A3").replace(0, 5, "0000x") << "not 5 digits" << 0;
    QTest::newRow("order: number out of sequence") << Part::Order << "02100A3" << order(4, "02100A3") << "00003 was expected" << 0;
    QTest::newRow("order: flag") << Part::Order << "02100A3" << order(3, "02100A3").replace(14, 1, "2") << "flag '2'" << 0;
    QTest::newRow("order: letter O in a code") << Part::Order << "02100A3" << order(3, "02100O3") << "not a 7-character ICD-10-PCS code" << 0;
    QTest::newRow("order: header with four characters") << Part::Order << "6AB " << order(5, "6AB5").replace(14, 1, "0") << "not a 3-character" << 0;
    QTest::newRow("order: no long title") << Part::Order << "02100A3" << order(3, "02100A3").left(77) + "   " << "title is missing" << 0;
    QTest::newRow("order: long title too long") << Part::Order << "02100A3" << order(3, "02100A3") + QString(200, 'x') << "longer than 255" << 0;
    QTest::newRow("order: duplicate code") << Part::Order << "02100A3" << order(3, "0210093") << "already stands on line 2" << 0;
    QTest::newRow("order: control character") << Part::Order << "02100A3" << order(3, "02100A3") + "\t" << "control character" << 0;

    QTest::newRow("gem: short line") << Part::Gem << "02100A3" << "02100A3 3611 10000" << "18 characters" << 0;
    QTest::newRow("gem: bad ICD-10-PCS code") << Part::Gem << "02100A3" << "02100a3 3611  10000" << "not a seven-character" << 0;
    QTest::newRow("gem: decimal point in ICD-9 code") << Part::Gem << "02100A3" << "02100A3 36.1  10000" << "neither an ICD-9-CM" << 0;
    QTest::newRow("gem: flags") << Part::Gem << "02100A3" << "02100A3 3611  1000x" << "five digits" << 0;
    QTest::newRow("gem: NoI9 beside an equivalent") << Part::Gem << "02100A3" << "0210093 NoI9  10000" << "both to NoI9" << 0;
    QTest::newRow("gem: ICD-9 code without title") << Part::Gem << "3699" << "0210093 3698  10000" << "3698 has no title" << 0;

    QTest::newRow("icd9: no title") << Part::Icd9 << "3699" << "3699" << "has no title" << 0;
    QTest::newRow("icd9: letter in code") << Part::Icd9 << "3699" << "36A9 Other operations on vessels of heart" << "not an ICD-9-CM" << 0;
    QTest::newRow("icd9: code twice") << Part::Icd9 << "3699" << "3611 Again" << "already has a title on line 2" << 0;

    QTest::newRow("tables: not well formed") << Part::Tables << "<label code=\"A\">Autologous"
                                            << "<label code=\"A\">Autologous Arterial Tissue</labl>" << "XML error" << 0;
    QTest::newRow("tables: wrong root") << Part::Tables << "<ICD10PCS.tabular>" << "<tabular>" << "not <ICD10PCS.tabular>" << 0;
    QTest::newRow("tables: label code I") << Part::Tables << "<label code=\"A\">Autologous"
                                         << "<label code=\"I\">Autologous Arterial Tissue</label></axis>" << "not one ICD-10-PCS character" << 0;
    QTest::newRow("tables: label given twice") << Part::Tables << "<label code=\"A\">Autologous"
                                              << "<label code=\"9\">Autologous Arterial Tissue</label></axis>" << "given twice" << 0;
    QTest::newRow("tables: empty label") << Part::Tables << "<label code=\"A\">Autologous" << "<label code=\"A\"> </label></axis>"
                                        << "is empty" << 0;
    QTest::newRow("tables: values disagree") << Part::Tables << "values=\"2\"><title>Device" << "<axis pos=\"6\" values=\"3\"><title>Device</title>"
                                            << "values=\"3\" but has 2" << 0;
    QTest::newRow("tables: codes disagree") << Part::Tables << "<pcsRow codes=\"2\">" << "<pcsRow codes=\"3\">" << "labels make 2 codes" << 0;
    QTest::newRow("tables: row without qualifier") << Part::Tables << "Coronary Artery</label></axis>"
                                                  << "" << "lacks character position 7" << 9;
    QTest::newRow("tables: table without operation") << Part::Tables << "<label code=\"B\">Perfusion"
                                                    << "" << "lacks character position 3" << 24;
    QTest::newRow("tables: two sections") << Part::Tables << "<label code=\"0\">Medical and Surgical"
                                         << "<axis pos=\"1\" values=\"2\"><title>Section</title><label code=\"0\">Medical and Surgical</label><label code=\"1\">Obstetrics</label></axis>"
                                         << "exactly one label" << 0;
    QTest::newRow("tables: rows overlap") << Part::Tables << "Coronary Artery, Two Arteries"
                                         << "<axis pos=\"4\" values=\"1\"><title>Body Part</title><label code=\"0\">Coronary Artery, One Artery</label></axis>"
                                         << "holds code 0210093, which the pcsRow on line 9" << 17;
    const QString smallRow = "<pcsRow><axis pos=\"4\"><label code=\"2\">B</label></axis><axis pos=\"5\"><label code=\"0\">O</label></axis>"
                             "<axis pos=\"6\"><label code=\"9\">D</label></axis><axis pos=\"7\"><label code=\"3\">Q</label></axis></pcsRow>";
    QTest::newRow("tables: too many rows") << Part::Tables << "  </pcsTable>" << QStringList(4095, smallRow).join('\n') + "\n  </pcsTable>"
                                          << "more than 4096 pcsRow" << 4;
    QTest::newRow("tables: row allows a code the order file lacks") << Part::Tables << "  </pcsTable>" << smallRow + "\n  </pcsTable>"
                                                                  << "pcsRow allows code 0212093, which is not in the order file" << 23;
    // A copy of the first table right after it: the copy is refused at its first line.
    QTest::newRow("tables: table given twice") << Part::Tables << "  </pcsTable>" << "  </pcsTable>\n" + tableCopy()
                                              << "pcsTable 021 is already given on line 4" << 24;
}

void PcsDbCommandLineTest::refusesFaultyRelease()
{
    QFETCH(Part, part);
    QFETCH(QString, lineHolding);
    QFETCH(QString, replacement);
    QFETCH(QString, complaint);
    QFETCH(int, reportedLine);

    CraftedRelease release;
    QStringList &lines = linesOf(release, part);
    const auto holding = std::find_if(lines.begin(), lines.end(), [&](const QString &line) { return line.contains(lineHolding); });
    const qsizetype index = holding == lines.end() ? -1 : holding - lines.begin();
    QVERIFY2(index >= 0, "the test's release lacks the line to break");
    lines[index] = replacement;
    lines = lines.join('\n').split('\n');  // a replacement may span lines
    // A code missing from the tables or an untitled ICD-9 code is reported at
    // the line that names it; a faulty table or row at its first line.
    const QString location = fileNameOf(part) + ':' + QString::number(reportedLine ? reportedLine : index + 1) + ':';

    QTemporaryDir dir;
    const ProgramRun run = runBuilder(release.write(dir.path()).arguments(dir.filePath("pcs.mdb")));
    QVERIFY2(run.finished, "the builder crashed or hung");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(location), qPrintable(run.err));
    QVERIFY2(run.err.contains(complaint), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QCOMPARE(filesIn(dir.path()), inputFileNames());  // neither the database nor a temporary file
}

void PcsDbCommandLineTest::refusesMissingOrUnreadableFile_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<bool>("folder");  // a folder instead of a file
    for (Part part : {Part::Order, Part::Tables, Part::Gem, Part::Icd9}) {
        QTest::addRow("%s missing", qPrintable(fileNameOf(part))) << part << false;
        QTest::addRow("%s is a folder", qPrintable(fileNameOf(part))) << part << true;
    }
    QTest::addRow("empty order file") << Part::Order << false;
}

void PcsDbCommandLineTest::refusesMissingOrUnreadableFile()
{
    QFETCH(Part, part);
    QFETCH(bool, folder);
    CraftedRelease release;
    const bool emptyFile = QByteArray(QTest::currentDataTag()).startsWith("empty");
    linesOf(release, part).clear();
    QTemporaryDir dir;
    ReleasePaths paths = release.write(dir.path());
    QString &path = part == Part::Order ? paths.order : part == Part::Tables ? paths.tables : part == Part::Gem ? paths.gem : paths.icd9;
    if (!emptyFile) {
        QVERIFY(QFile::remove(path));
        if (folder)
            QVERIFY(QDir().mkdir(path));
    }
    const QString output = dir.filePath("out/pcs.mdb");
    QVERIFY(QDir().mkdir(dir.filePath("out")));
    const ProgramRun run = runBuilder(paths.arguments(output));
    QVERIFY2(run.finished, "the builder crashed or hung");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(path + ": "), qPrintable(run.err));
    if (emptyFile)
        QVERIFY2(run.err.contains("holds no valid codes"), qPrintable(run.err));
    QVERIFY(filesIn(dir.filePath("out")).isEmpty());
}

void PcsDbCommandLineTest::keepsPreviousDatabaseWhenBuildFails()
{
    CraftedRelease release;
    release.gem.append("0210093 36    10000");
    QTemporaryDir dir;
    const QString output = dir.filePath("pcs.mdb");
    {
        QFile previous(output);
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("the database of yesterday");
    }
    const ProgramRun run = runBuilder(release.write(dir.path()).arguments(output));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("pcs_gem_test.txt:7:"), qPrintable(run.err));
    QFile previous(output);
    QVERIFY(previous.open(QIODevice::ReadOnly));
    QCOMPARE(previous.readAll(), QByteArray("the database of yesterday"));
    QCOMPARE(filesIn(dir.path()), inputFileNames({"pcs.mdb"}));
}

void PcsDbCommandLineTest::commandLineFaults_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("complaint");
    const QStringList good = ReleasePaths{"order.txt", "tables.xml", "gem.txt", "icd9.txt"}.arguments("pcs.mdb");
    QStringList withoutGem = good;
    withoutGem.remove(withoutGem.indexOf("--gem"), 2);
    QTest::newRow("no arguments") << QStringList() << "missing --order";
    QTest::newRow("no --gem") << withoutGem << "missing --gem";
    QTest::newRow("unknown option") << (QStringList(good) << "--verbose") << "verbose";
    QTest::newRow("stray argument") << (QStringList(good) << "extra.txt") << "unexpected argument 'extra.txt'";
    QTest::newRow("option without value") << QStringList{"--order"} << "order";
    QTest::newRow("output is an input") << ReleasePaths{"order.txt", "tables.xml", builderProgram(), "icd9.txt"}.arguments(builderProgram())
                                        << "--output names the input file";
    QTest::newRow("option twice") << (QStringList(good) << "--icd9" << "other.txt") << "--icd9 given more than once";
    QTest::newRow("output and install") << (QStringList(good) << "--install") << "either --output or --install";
}

void PcsDbCommandLineTest::commandLineFaults()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, complaint);
    const ProgramRun run = runBuilder(arguments);
    QVERIFY2(run.finished, "the builder crashed or hung");
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(complaint), qPrintable(run.err));
    QVERIFY2(run.err.contains("--help"), qPrintable(run.err));
}

void PcsDbCommandLineTest::helpListsEveryOption()
{
    const ProgramRun run = runBuilder({"--help"});
    QCOMPARE(run.exitCode, 0);
    for (const char *option : {"--order", "--tables", "--gem", "--icd9", "--output", "--install", "--help"})
        QVERIFY2(run.out.contains(option), option);
}

void PcsDbCommandLineTest::progressOnlyOnTerminal()
{
    // script(1) gives the builder a terminal; on a pipe (above) it stays silent.
    if (QStandardPaths::findExecutable("script").isEmpty())
        QSKIP("script(1) is not installed, so no terminal can be given to the builder");
    QTemporaryDir dir;
    const ReleasePaths paths = CraftedRelease().write(dir.path());
    QStringList command{builderProgram()};
    command += paths.arguments(dir.filePath("pcs.mdb"));
    for (QString &word : command)
        word = "'" + word + "'";
    QProcess script;
    script.start("script", {"-qec", command.join(' '), "/dev/null"});
    QVERIFY(script.waitForFinished(60000));
    QCOMPARE(script.exitCode(), 0);
    const QString shown = QString::fromLocal8Bit(script.readAllStandardOutput());
    QVERIFY2(shown.contains("Writing getalldata"), qPrintable(shown));
    QVERIFY2(shown.contains("100%"), qPrintable(shown));
    QVERIFY(QFile::exists(dir.filePath("pcs.mdb")));
}

void PcsDbCommandLineTest::installWritesWhereTheProgramFoldersLinkPoints()
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    const QString tool = installedLayout(root, true);
    const QString link = root.filePath("usr/lib/vorimel/pcs.mdb");
    const QString database = root.filePath("var/lib/vorimel/pcs.mdb");
    const ReleasePaths release = CraftedRelease().write(dir.path());

    // Every user's program reads the database, whatever umask the installing root has.
    const mode_t mask = ::umask(077);
    const ProgramRun run = runProgram(tool, releaseArguments(release) << "--install");
    ::umask(mask);
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(database), qPrintable(run.out));
    QCOMPARE(QFileInfo(link).symLinkTarget(), database);
    QVERIFY(!QFileInfo(database).isSymLink());
    QCOMPARE(QFile::permissions(database) & ~(QFile::ReadUser | QFile::WriteUser),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QString error;
    QCOMPARE(exportTable(database, "longpcs", &error).rows.size(), 4);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(filesIn(root.filePath("var/lib/vorimel")), QStringList{"pcs.mdb"});
}

void PcsDbCommandLineTest::installWithoutAnInstalledProgramFails()
{
    QTemporaryDir dir;
    const QString tool = installedLayout(QDir(dir.path()), false);
    const ProgramRun run = runProgram(tool, releaseArguments(CraftedRelease().write(dir.path())) << "--install");
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("no installed Vorimel") && run.err.contains(QDir::cleanPath(dir.filePath("usr/lib/vorimel"))),
             qPrintable(run.err));
}

void PcsDbCommandLineTest::outputThroughALinkKeepsTheLink()
{
    QTemporaryDir dir;
    const QString database = dir.filePath("data/pcs.mdb");
    const QString link = dir.filePath("pcs.mdb");
    QVERIFY(QDir(dir.path()).mkpath("data"));
    QVERIFY(QFile::link(database, link));
    const ProgramRun run = runBuilder(CraftedRelease().write(dir.path()).arguments(link));
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(QFileInfo(link).symLinkTarget(), database);
    QCOMPARE(filesIn(dir.filePath("data")), QStringList{"pcs.mdb"});
}

QTEST_GUILESS_MAIN(PcsDbCommandLineTest)
#include "tst_pcsdb_cli.moc"
