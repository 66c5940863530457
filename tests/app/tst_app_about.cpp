// The About window: its text to the character, its design, and the clicks that
// open the maker's site through the replaceable address opener.

#include "app/Program.h"
#include "ProcedureDatabase.h"
#include "tests/lookup/FixtureDatabase.h"
#include "app/frmAbout.h"
#include "lookup/CodeSetRelease.h"
#include "platform/ReleaseTable.h"
#include "platform/db/Database.h"
#include "platform/desktop/DocumentLauncher.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using app::frmAbout;
using fixture::openShared;

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionHasTheVersionLineAndSixLineBreaks();
    void aLeftClickOnTheLogoOrTheTextOpensTheAddress();
    void theVersionShownIsTheProgramsVersion();
    void creditLineNamesTheCodeSet();
    void theSampleDatabaseSaysWhatItIs();
    void aDatabaseMadeElsewhereGetsTheNeutralLine();
    void contentStaysCentredInALargerWindow();

private:
    QList<QUrl> opened_;
    bool openerSucceeds_ = true;
};

void AboutTest::init()
{
    opened_.clear();
    openerSucceeds_ = true;
    platform::desktop::setUrlOpener([this](const QUrl &url) {
        opened_.append(url);
        return openerSucceeds_;
    });
}

void AboutTest::cleanup()
{
    platform::desktop::setUrlOpener({});
}

void AboutTest::captionHasTheVersionLineAndSixLineBreaks()
{
    frmAbout about;
    const QString caption = about.aboutCaption();
    QCOMPARE(caption, frmAbout::composeAboutCaption(lookup::CodeSetRelease::neutralCreditLine()));
    QCOMPARE(caption.count(QStringLiteral("\r\n")), 6);
    QCOMPARE(caption.count(QLatin1Char('\n')), 6); // no bare line feeds
    QCOMPARE(caption.count(QLatin1Char('\r')), 6);

    const QStringList lines = caption.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[0], QStringLiteral("Vorimel - version 1.0.19"));
    QVERIFY(lines[1].contains(QStringLiteral("2008")));
    QVERIFY(lines[1].contains(QStringLiteral("Dantreb")));
    QVERIFY(lines[2].isEmpty());
    QVERIFY(lines[3].isEmpty());
    QCOMPARE(lines[4], QStringLiteral("Website - ") + frmAbout::WebsiteAddress + QLatin1Char(' '));
    QVERIFY(lines[5].isEmpty());
    QVERIFY(!lines[6].isEmpty());
    QVERIFY(!lines[6].endsWith(QLatin1Char('\n')));

    // The label shows each break as a new line.
    QCOMPARE(about.lblAbout()->text(), QString(caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void AboutTest::aLeftClickOnTheLogoOrTheTextOpensTheAddress()
{
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.imgLogo(), Qt::RightButton, {}, QPoint(175, 140));
    // Pressed on the logo, released outside it: no click.
    QTest::mousePress(about.imgLogo(), Qt::LeftButton, {}, QPoint(175, 140));
    QTest::mouseRelease(about.imgLogo(), Qt::LeftButton, {}, QPoint(400, 140));
    QVERIFY(opened_.isEmpty());

    QTest::mouseClick(about.imgLogo(), Qt::LeftButton, {}, QPoint(175, 140));
    QTest::mouseClick(about.lblAbout(), Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(opened_.size(), 2);
    QCOMPARE(opened_[0], QUrl(frmAbout::WebsiteAddress));
    QCOMPARE(opened_[1], opened_[0]);
    // The address opened is the one in the text, without its trailing space.
    QVERIFY(about.aboutCaption().contains(QStringLiteral("Website - ") + opened_[0].toString() + QLatin1Char(' ')));

    // A launch that fails shows nothing.
    openerSucceeds_ = false;
    const int windowsBefore = int(QApplication::topLevelWidgets().size());
    QTest::mouseClick(about.lblAbout(), Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(opened_.size(), 3);
    QCOMPARE(about.StartDoc(frmAbout::WebsiteAddress), platform::desktop::SE_ERR_NOASSOC);
    QCOMPARE(int(QApplication::topLevelWidgets().size()), windowsBefore);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(about.isVisible());
}

void AboutTest::theVersionShownIsTheProgramsVersion()
{
    app::applyProgramIdentity();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Vorimel"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Dantreb"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.0.0.19"));
    QCOMPARE(QGuiApplication::windowIcon().availableSizes().size(), 4);

    // The four-part file version, shown as major.minor.revision.
    const QStringList parts = QCoreApplication::applicationVersion().split(QLatin1Char('.'));
    QCOMPARE(parts.size(), 4);
    const QString shown = parts[0] + QLatin1Char('.') + parts[1] + QLatin1Char('.') + parts[3];
    QVERIFY(frmAbout::composeAboutCaption(QString()).startsWith(QStringLiteral("Vorimel - version ") + shown + QStringLiteral("\r\n")));
}

void AboutTest::creditLineNamesTheCodeSet()
{
    using lookup::CodeSetRelease;
    using namespace release_table;
    CodeSetRelease full;
    full.set(FiscalYear, QStringLiteral("2020"));
    full.set(CodeCount, QStringLiteral("77559"));
    full.set(GemYear, QStringLiteral("2018"));
    full.set(Icd9Version, QStringLiteral("32"));
    full.set(Sample, QStringLiteral("no"));
    QCOMPARE(full.creditLine(), QStringLiteral("Code tables: CMS ICD-10-PCS FY2020 (77,559 codes), GEM 2018, ICD-9-CM v32"));

    // What the file names did not tell is left out; a sample says so.
    CodeSetRelease sample;
    sample.set(FiscalYear, QStringLiteral("2020"));
    sample.set(CodeCount, QStringLiteral("712"));
    sample.set(Sample, QStringLiteral("yes"));
    QCOMPARE(sample.creditLine(),
             QStringLiteral("Code tables: CMS ICD-10-PCS FY2020 (712 codes) - a small sample, not for coding"));
    QCOMPARE(CodeSetRelease::creditLineOf(std::nullopt), CodeSetRelease::neutralCreditLine());

    // Breaks in the file's values stay on the credit's one line.
    CodeSetRelease broken;
    broken.set(FiscalYear, QStringLiteral("2020\r\n"));
    broken.set(GemYear, QStringLiteral("20\t18\u2028"));
    QCOMPARE(broken.creditLine(), QStringLiteral("Code tables: CMS ICD-10-PCS FY2020  , GEM 20 18 "));
}

void AboutTest::theSampleDatabaseSaysWhatItIs()
{
    // The sample the build makes with vorimel-pcsdb, read as the program reads it.
    openShared(QStringLiteral(VORIMEL_BIN_DIR "/pcs.mdb"));
    frmAbout about;
    const QString credit = about.aboutCaption().split(QStringLiteral("\r\n")).constLast();
    QVERIFY2(credit.startsWith(QStringLiteral("Code tables: CMS ICD-10-PCS FY2020 (")), qPrintable(credit));
    QVERIFY2(credit.endsWith(QStringLiteral(" codes) - a small sample, not for coding")), qPrintable(credit));
    platform::db::releaseShared();
}

void AboutTest::aDatabaseMadeElsewhereGetsTheNeutralLine()
{
    QTemporaryDir dir;
    openShared(apptest::writeProcedureDatabase(dir.path(), 3));
    frmAbout about;
    QVERIFY(about.aboutCaption().endsWith(QStringLiteral("\r\n") + lookup::CodeSetRelease::neutralCreditLine()));
    platform::db::releaseShared();
    // Nor is a closed connection an error.
    frmAbout closed;
    QVERIFY(closed.aboutCaption().endsWith(lookup::CodeSetRelease::neutralCreditLine()));
}

void AboutTest::contentStaysCentredInALargerWindow()
{
    frmAbout about;
    about.resize(740, 469);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.picAbout()->geometry(), QRect(8, 8, 721, 449));
    about.resize(1740, 969);
    const QPoint offCentre = about.picAbout()->geometry().center() - QRect(0, 0, 1740, 969).center();
    QVERIFY2(offCentre.manhattanLength() <= 3, qPrintable(QStringLiteral("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
}

QTEST_MAIN(AboutTest)
#include "tst_app_about.moc"
