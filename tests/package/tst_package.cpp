// The Debian package as a user meets it: made by scripts/package, checked with
// Debian's own tools, installed, started from its menu entry and ended on the
// ribbon's Exit, given a full database that must survive a reinstall, removed and
// purged. It installs system-wide, so it runs only as root (CI's throwaway machine),
// and never on a machine where vorimel is already installed.

#include "CraftedRelease.h"
#include "ScreenPicture.h"
#include "ToolsTestSupport.h"
#include "XvfbServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString Version = QStringLiteral(VORIMEL_VERSION "-1");
const QString ProgramFolder = QStringLiteral("/usr/lib/vorimel");
const QString DatabaseLink = QStringLiteral("/usr/lib/vorimel/pcs.mdb");
const QString Database = QStringLiteral("/var/lib/vorimel/pcs.mdb");
const QString StateFolder = QStringLiteral("/var/lib/vorimel");
// Serialises the tests of every checkout on one machine: they share its package database.
const char InstallLock[] = "/tmp/vorimel-package-test.lock";

using Run = ProgramRun;

QString describe(const Run &r)
{
    return QStringLiteral("exit %1\n%2\n%3").arg(r.exitCode).arg(r.out.right(4000), r.err.right(4000));
}

Run aptGet(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DEBIAN_FRONTEND"), QStringLiteral("noninteractive"));
    // Another package tool may hold the lock for a while (scripts/setup on a fresh machine).
    return runProgram(QStringLiteral("apt-get"),
                      QStringList{QStringLiteral("-y"), QStringLiteral("-q"), QStringLiteral("-o"),
                                  QStringLiteral("DPkg::Lock::Timeout=300")} + arguments,
                      600000, environment);
}

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

// "install ok installed", "deinstall ok config-files", or empty when dpkg knows no vorimel.
QString packageStatus()
{
    const Run r = runProgram(QStringLiteral("dpkg-query"), {QStringLiteral("-W"), QStringLiteral("-f=${Status}"), QStringLiteral("vorimel")});
    return r.exitCode == 0 ? r.out.trimmed() : QString();
}

bool existsOrLinks(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

struct Entry {
    QString mode;
    QString owner;
    QString path;   // without the leading "./"
    QString target; // of a link
};

} // namespace

class PackageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void holdsExactlyTheInstalledLayout();
    void controlFieldsDescribeThePackage();
    void desktopEntryMetadataAndIconsValidate();
    void manualPagesRenderEveryOption();
    void lintianFindsNoError();
    void installedProgramStartsFromItsMenuEntryAndEndsOnExit();
    void fullDatabaseSurvivesReinstall();
    void databaseInPlaceOfTheLinkIsKept();
    void removeKeepsOnlyTheDatabase();
    void purgeLeavesNothing();
    void cleanupTestCase();

private:
    bool mayInstall(QString *why);
    QString extracted(const QString &path) const { return work_.filePath(QStringLiteral("extracted/") + path); }
    QStringList helperPrograms() const;

    QTemporaryDir work_;
    QString deb_;
    QList<Entry> entries_;
    int lockFd_ = -1;
    bool installed_ = false;
    QByteArray fullDatabase_; // hash of the database built after installing
};

QStringList PackageTest::helperPrograms() const
{
    return QString::fromLatin1(VORIMEL_HELPER_PROGRAMS).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void PackageTest::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("the package test installs vorimel system-wide, so it runs only as root (as CI does on its throwaway machine)");
    for (const char *tool : {"cpack", "dpkg-deb", "dpkg-shlibdeps", "dpkg-buildflags", "lintian", "desktop-file-validate",
                             "appstreamcli", "man", "gzip", "xdotool", "Xvfb", "apt-get", "setpriv"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("the package test needs %1, which is missing (scripts/setup installs it)")
                                 .arg(QLatin1String(tool))));
    }
    QVERIFY(work_.isValid());

    const Run made = runProgram(QStringLiteral(VORIMEL_SOURCE_DIR "/scripts/package"), {QStringLiteral(VORIMEL_PACKAGE_BUILD_DIR)},
                                30 * 60 * 1000);
    QVERIFY2(made.finished && made.exitCode == 0, qPrintable(describe(made)));
    deb_ = made.out.trimmed().split(QLatin1Char('\n')).constLast();
    QVERIFY2(QFileInfo(deb_).isFile(), qPrintable(deb_));
    qInfo("%s: %lld KB", qPrintable(deb_), QFileInfo(deb_).size() / 1024);

    const Run unpacked = runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb_, work_.filePath(QStringLiteral("extracted"))});
    QVERIFY2(unpacked.exitCode == 0, qPrintable(describe(unpacked)));
    const Run listed = runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb_});
    QVERIFY2(listed.exitCode == 0, qPrintable(describe(listed)));
    // "-rwxr-xr-x root/root 327136 2026-12-07 12:19 ./usr/bin/vorimel-pcsdb", links with " -> target"
    for (const QString &line : listed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        QVERIFY2(fields.size() == 6 || (fields.size() == 8 && fields.at(6) == QLatin1String("->")), qPrintable(line));
        entries_.append({fields.at(0), fields.at(1), fields.at(5).mid(2), fields.size() == 8 ? fields.at(7) : QString()});
    }
}

void PackageTest::holdsExactlyTheInstalledLayout()
{
    QStringList expected = {
        "usr/", "usr/bin/", "usr/bin/vorimel -> ../lib/vorimel/vorimel", "usr/bin/vorimel-pcsdb",
        "usr/lib/", "usr/lib/vorimel/", "usr/lib/vorimel/vorimel", "usr/lib/vorimel/pcs-sample.mdb",
        "usr/lib/vorimel/pcs.mdb -> /var/lib/vorimel/pcs.mdb",
        "usr/share/", "usr/share/applications/", "usr/share/applications/vorimel.desktop",
        "usr/share/doc/", "usr/share/doc/vorimel/", "usr/share/doc/vorimel/changelog.Debian.gz",
        "usr/share/doc/vorimel/copyright",
        "usr/share/icons/", "usr/share/icons/hicolor/",
        "usr/share/man/", "usr/share/man/man1/", "usr/share/man/man1/vorimel.1.gz", "usr/share/man/man1/vorimel-pcsdb.1.gz",
        "usr/share/metainfo/", "usr/share/metainfo/example.vorimel.Vorimel.metainfo.xml",
    };
    for (const char *size : {"16x16", "24x24", "32x32", "48x48"}) {
        const QString folder = QStringLiteral("usr/share/icons/hicolor/") + QLatin1String(size) + QLatin1Char('/');
        expected << folder << folder + "apps/" << folder + "apps/vorimel.png";
    }
    QStringList programs = {"usr/bin/vorimel-pcsdb", "usr/lib/vorimel/vorimel"};
    for (const QString &helper : helperPrograms())
        programs << QStringLiteral("usr/lib/vorimel/") + helper;
    expected << programs;
    expected.removeDuplicates();
    expected.sort();

    QStringList listed;
    for (const Entry &entry : std::as_const(entries_)) {
        listed << (entry.target.isEmpty() ? entry.path : entry.path + " -> " + entry.target);
        const QString mode = entry.path.endsWith(QLatin1Char('/')) ? "drwxr-xr-x"
                             : !entry.target.isEmpty()             ? "lrwxrwxrwx"
                             : programs.contains(entry.path)       ? "-rwxr-xr-x"
                                                                   : "-rw-r--r--";
        QVERIFY2(entry.mode == mode, qPrintable(entry.path + ": " + entry.mode));
        QVERIFY2(entry.owner == QLatin1String("root/root"), qPrintable(entry.path + ": " + entry.owner));
    }
    listed.sort();
    QCOMPARE(listed, expected);

    for (const QString &program : std::as_const(programs)) {
        const Run file = runProgram(QStringLiteral("file"), {QStringLiteral("-b"), extracted(program)});
        if (file.finished && file.exitCode == 0)
            QVERIFY2(file.out.contains(QLatin1String("stripped")) && !file.out.contains(QLatin1String("not stripped")),
                     qPrintable(program + ": " + file.out));
    }
}

void PackageTest::controlFieldsDescribeThePackage()
{
    const Run fields = runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb_});
    QVERIFY2(fields.exitCode == 0, qPrintable(describe(fields)));
    QMap<QString, QString> field;
    QString last;
    for (const QString &line : fields.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char(' '))) {
            field[last] += QLatin1Char('\n') + line;
            continue;
        }
        last = line.section(QLatin1Char(':'), 0, 0);
        field[last] = line.section(QLatin1Char(':'), 1).trimmed();
    }
    const QString architecture = runProgram(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).out.trimmed();
    QCOMPARE(field.value("Package"), QStringLiteral("vorimel"));
    QCOMPARE(field.value("Version"), Version);
    QCOMPARE(field.value("Architecture"), architecture);
    QCOMPARE(QFileInfo(deb_).fileName(), QStringLiteral("vorimel_%1_%2.deb").arg(Version, architecture));
    QCOMPARE(field.value("Section"), QStringLiteral("science"));
    QCOMPARE(field.value("Priority"), QStringLiteral("optional"));
    QVERIFY2(QRegularExpression(QStringLiteral("^[^<>]+ <[^@<>]+@[^@<>]+>$")).match(field.value("Maintainer")).hasMatch(),
             qPrintable(field.value("Maintainer")));
    // Computed from the programs' libraries, not written by hand.
    for (const char *library : {"libqt6widgets6", "libqt6gui6", "libmdb3", "libsqlite3-0", "libxcb1", "libseccomp2"})
        QVERIFY2(field.value("Depends").contains(QLatin1String(library)), qPrintable(field.value("Depends")));
    const QStringList description = field.value("Description").split(QLatin1Char('\n'));
    QVERIFY2(description.size() > 3, qPrintable(field.value("Description")));
    for (const QString &line : description)
        QVERIFY2(line.size() <= 80, qPrintable(line));
}

void PackageTest::desktopEntryMetadataAndIconsValidate()
{
    const QString desktop = extracted("usr/share/applications/vorimel.desktop");
    const Run entry = runProgram(QStringLiteral("desktop-file-validate"), {desktop});
    QVERIFY2(entry.exitCode == 0 && !entry.out.contains(QLatin1String("error")), qPrintable(describe(entry)));

    // Offline: the screenshot's address is checked by the software centres, not here.
    const QString metainfo = extracted("usr/share/metainfo/example.vorimel.Vorimel.metainfo.xml");
    const Run meta = runProgram(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    QVERIFY2(meta.exitCode == 0, qPrintable(describe(meta)));
    QFile metaFile(metainfo);
    QVERIFY(metaFile.open(QIODevice::ReadOnly));
    const QString metaText = QString::fromUtf8(metaFile.readAll());
    QVERIFY2(metaText.contains(QStringLiteral("<release version=\"" VORIMEL_VERSION "\"")), "the metadata names another release");
    QVERIFY(metaText.contains(QLatin1String("<screenshot type=\"default\">")));
    QVERIFY(metaText.contains(QLatin1String("<launchable type=\"desktop-id\">vorimel.desktop</launchable>")));

    const Run changelog = runProgram(QStringLiteral("gzip"), {QStringLiteral("-dc"), extracted("usr/share/doc/vorimel/changelog.Debian.gz")});
    QVERIFY2(changelog.out.startsWith(QStringLiteral("vorimel (%1) ").arg(Version)), qPrintable(changelog.out.left(200)));

    for (int size : {16, 24, 32, 48}) {
        const QString icon = extracted(QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/vorimel.png").arg(size));
        QCOMPARE(QImage(icon).size(), QSize(size, size));
    }
}

void PackageTest::manualPagesRenderEveryOption()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    QMap<QString, QString> pages;
    for (const char *name : {"vorimel", "vorimel-pcsdb"}) {
        const QString page = extracted(QStringLiteral("usr/share/man/man1/%1.1.gz").arg(QLatin1String(name)));
        // Without hyphenation, so that an option's name stays whole; --warnings makes
        // groff report every fault in the page's markup.
        const Run man = runProgram(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("--nh"), QStringLiteral("-l"), page},
                                   60000, environment);
        QVERIFY2(man.exitCode == 0 && man.err.isEmpty(), qPrintable(describe(man)));
        for (const char *section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS", "FILES", "EXAMPLE"}) {
            if (QLatin1String(section) == QLatin1String("FILES") && QLatin1String(name) != QLatin1String("vorimel"))
                continue;
            QVERIFY2(man.out.contains(QLatin1String(section)), qPrintable(QStringLiteral("%1: no %2").arg(name, section)));
        }
        pages[QLatin1String(name)] = man.out;
    }
    const Run help = runProgram(extracted("usr/bin/vorimel-pcsdb"), {QStringLiteral("--help")});
    QVERIFY2(help.exitCode == 0, qPrintable(describe(help)));
    const QRegularExpression option(QStringLiteral("(?<![\\w-])--[a-z0-9-]+"));
    int options = 0;
    for (auto match = option.globalMatch(help.out); match.hasNext(); ++options) {
        const QString name = match.next().captured();
        QVERIFY2(pages.value("vorimel-pcsdb").contains(name), qPrintable(name + " is not in vorimel-pcsdb(1)"));
    }
    QVERIFY(options >= 7);
    for (const char *file : {"icd10pcs_order_", "icd10pcs_tables_", "CMS32_DESC_LONG_SG.txt", "General Equivalence"})
        QVERIFY2(pages.value("vorimel-pcsdb").contains(QLatin1String(file)), file);
}

void PackageTest::lintianFindsNoError()
{
    const Run lintian = runProgram(QStringLiteral("lintian"), {deb_}, 10 * 60 * 1000);
    for (const QString &line : lintian.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        qInfo("lintian: %s", qPrintable(line));
    QVERIFY2(lintian.finished && lintian.exitCode == 0, qPrintable(describe(lintian)));
    QVERIFY2(!QRegularExpression(QStringLiteral("^E: "), QRegularExpression::MultilineOption).match(lintian.out).hasMatch(),
             qPrintable(lintian.out));
}

bool PackageTest::mayInstall(QString *why)
{
    lockFd_ = ::open(InstallLock, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0 || ::flock(lockFd_, LOCK_EX) != 0) {
        *why = QStringLiteral("cannot take the lock %1").arg(QLatin1String(InstallLock));
        return false;
    }
    // Someone's own installation and database are not ours to replace or purge.
    if (!packageStatus().isEmpty() || existsOrLinks(StateFolder) || existsOrLinks(ProgramFolder)) {
        *why = QStringLiteral("vorimel is installed on this machine or has left %1; the package test does not replace "
                              "it (dpkg --purge vorimel lets the test run)")
                   .arg(StateFolder);
        return false;
    }
    return true;
}

void PackageTest::installedProgramStartsFromItsMenuEntryAndEndsOnExit()
{
    QString why;
    if (!mayInstall(&why))
        QSKIP(qPrintable(why));
    const Run installed = aptGet({QStringLiteral("install"), QStringLiteral("--no-install-recommends"), deb_});
    installed_ = true;
    QVERIFY2(installed.exitCode == 0, qPrintable(describe(installed)));
    QCOMPARE(packageStatus(), QStringLiteral("install ok installed"));

    // The sample goes where the program folder's link points, readable by everyone.
    QCOMPARE(QFileInfo(DatabaseLink).symLinkTarget(), Database);
    QCOMPARE(hashOf(Database), hashOf(extracted("usr/lib/vorimel/pcs-sample.mdb")));
    QCOMPARE(QFileInfo(Database).permissions() & (QFile::ReadOther | QFile::WriteOther), QFile::ReadOther);

    const Run help = runProgram(QStringLiteral("/usr/bin/vorimel-pcsdb"), {QStringLiteral("--help")});
    QVERIFY2(help.exitCode == 0 && help.out.contains(QLatin1String("--install")), qPrintable(describe(help)));

    // As a desktop starts it: the entry's Exec line, found on a plain PATH.
    QFile desktop(QStringLiteral("/usr/share/applications/vorimel.desktop"));
    QVERIFY(desktop.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch exec =
        QRegularExpression(QStringLiteral("^Exec=(\\S+)\\s*$"), QRegularExpression::MultilineOption).match(QString::fromUtf8(desktop.readAll()));
    QVERIFY(exec.hasMatch());
    const QString program = QStandardPaths::findExecutable(exec.captured(1), {QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    QCOMPARE(program, QStringLiteral("/usr/bin/vorimel"));

    apptest::XvfbServer xvfb;
    QVERIFY2(xvfb.start(&why), qPrintable(why));
    QVERIFY(QDir(work_.path()).mkpath(QStringLiteral("runtime")));
    QFile::setPermissions(work_.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    environment.insert(QStringLiteral("HOME"), work_.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), work_.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(xvfb.display()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess vorimel;
    vorimel.setProcessEnvironment(environment);
    vorimel.start(program, {});
    QVERIFY2(vorimel.waitForStarted(10000), qPrintable(vorimel.errorString()));

    // The Exit button shows once the frame window is up with its ribbon.
    const QImage exitPicture(QStringLiteral(VORIMEL_SOURCE_DIR "/resources/app/button7.png"));
    QVERIFY(!exitPicture.isNull());
    std::optional<QPoint> exitButton;
    QElapsedTimer waited;
    waited.start();
    while (!exitButton && why.isEmpty() && waited.elapsed() < 30000 && vorimel.state() == QProcess::Running) {
        QThread::msleep(250);
        exitButton = packagetest::findOnScreen(xvfb.display(), exitPicture, &why);
    }
    if (!exitButton) {
        vorimel.kill();
        vorimel.waitForFinished();
        QFAIL(qPrintable(QStringLiteral("the ribbon's Exit never showed (%1); the program said: %2")
                             .arg(why, QString::fromLocal8Bit(vorimel.readAllStandardError()))));
    }
    QProcessEnvironment onDisplay = QProcessEnvironment::systemEnvironment();
    onDisplay.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(xvfb.display()));
    const QString x = QString::number(exitButton->x());
    const QString y = QString::number(exitButton->y());
    // Moved there first, as a hand would, so the ribbon sees the pointer arrive.
    runProgram(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), x, y, QStringLiteral("sleep"), QStringLiteral("0.3"),
                                           QStringLiteral("click"), QStringLiteral("1")},
               20000, onDisplay);
    const bool ended = vorimel.waitForFinished(20000);
    if (!ended) {
        vorimel.kill();
        vorimel.waitForFinished();
    }
    QVERIFY2(ended, "the program did not end on Exit");
    QCOMPARE(vorimel.exitStatus(), QProcess::NormalExit);
    QVERIFY2(vorimel.exitCode() == 0, qPrintable(QString::fromLocal8Bit(vorimel.readAllStandardError())));
}

void PackageTest::fullDatabaseSurvivesReinstall()
{
    if (packageStatus() != QLatin1String("install ok installed"))
        QSKIP("the package is not installed");
    // The full release where it is at hand, else a small one of our own: either way
    // a database that differs from the sample, built by the installed command.
    ReleasePaths release;
    if (cmsReleaseAvailable()) {
        const QString failure = unpackCmsRelease(work_, &release);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    } else {
        qInfo("the CMS release is not in VORIMEL_CMS_DIR; a crafted release stands in for it");
        release = CraftedRelease().write(work_.path());
    }
    QStringList arguments = release.arguments(QString());
    arguments.resize(arguments.size() - 2);
    arguments << QStringLiteral("--install");

    // Another user is told that this needs root, before anything is read.
    const Run refused = runProgram(QStringLiteral("setpriv"),
                                   QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                               QStringLiteral("--clear-groups"), QStringLiteral("/usr/bin/vorimel-pcsdb")}
                                       + arguments);
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains(Database) && refused.err.contains(QLatin1String("only root can")), qPrintable(refused.err));

    const Run built = runProgram(QStringLiteral("/usr/bin/vorimel-pcsdb"), arguments, 10 * 60 * 1000);
    QVERIFY2(built.exitCode == 0, qPrintable(describe(built)));
    fullDatabase_ = hashOf(Database);
    QVERIFY(fullDatabase_ != hashOf(QStringLiteral("/usr/lib/vorimel/pcs-sample.mdb")));
    QCOMPARE(QFileInfo(DatabaseLink).symLinkTarget(), Database);

    const Run reinstalled = aptGet({QStringLiteral("install"), QStringLiteral("--reinstall"), deb_});
    QVERIFY2(reinstalled.exitCode == 0, qPrintable(describe(reinstalled)));
    QCOMPARE(hashOf(Database), fullDatabase_);
    QCOMPARE(QFileInfo(DatabaseLink).symLinkTarget(), Database);
}

void PackageTest::databaseInPlaceOfTheLinkIsKept()
{
    if (fullDatabase_.isEmpty())
        QSKIP("no full database was installed");
    // A user moved the full database over the link (mv does not follow it) and left the sample behind it.
    const QString moved = DatabaseLink + QStringLiteral(".moved");
    QVERIFY(QFile::copy(Database, moved));
    QVERIFY(::rename(QFile::encodeName(moved).constData(), QFile::encodeName(DatabaseLink).constData()) == 0);
    QVERIFY(QFile::remove(Database));
    QVERIFY(QFile::copy(QStringLiteral("/usr/lib/vorimel/pcs-sample.mdb"), Database));

    const Run reinstalled = aptGet({QStringLiteral("install"), QStringLiteral("--reinstall"), deb_});
    QVERIFY2(reinstalled.exitCode == 0, qPrintable(describe(reinstalled)));
    QCOMPARE(QFileInfo(DatabaseLink).symLinkTarget(), Database);
    QCOMPARE(hashOf(Database), fullDatabase_);
}

void PackageTest::removeKeepsOnlyTheDatabase()
{
    if (packageStatus() != QLatin1String("install ok installed"))
        QSKIP("the package is not installed");
    const QByteArray database = hashOf(Database);
    const Run removed = aptGet({QStringLiteral("remove"), QStringLiteral("vorimel")});
    QVERIFY2(removed.exitCode == 0, qPrintable(describe(removed)));
    QCOMPARE(packageStatus(), QStringLiteral("deinstall ok config-files"));
    for (const Entry &entry : std::as_const(entries_)) {
        if (!entry.path.endsWith(QLatin1Char('/')))
            QVERIFY2(!existsOrLinks(QLatin1Char('/') + entry.path), qPrintable(entry.path));
    }
    QVERIFY(!existsOrLinks(ProgramFolder));
    QVERIFY(!existsOrLinks(QStringLiteral("/usr/share/doc/vorimel")));
    QCOMPARE(QDir(StateFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("pcs.mdb")});
    QCOMPARE(hashOf(Database), database);
}

void PackageTest::purgeLeavesNothing()
{
    if (packageStatus().isEmpty())
        QSKIP("the package is not installed");
    const Run purged = aptGet({QStringLiteral("purge"), QStringLiteral("vorimel")});
    QVERIFY2(purged.exitCode == 0, qPrintable(describe(purged)));
    installed_ = false;
    QCOMPARE(packageStatus(), QString());
    QVERIFY(!existsOrLinks(StateFolder));
    QVERIFY(!existsOrLinks(ProgramFolder));
    for (const Entry &entry : std::as_const(entries_)) {
        if (!entry.path.endsWith(QLatin1Char('/')))
            QVERIFY2(!existsOrLinks(QLatin1Char('/') + entry.path), qPrintable(entry.path));
    }
}

void PackageTest::cleanupTestCase()
{
    // A failure half-way must not leave the package on the machine.
    if (installed_)
        runProgram(QStringLiteral("dpkg"), {QStringLiteral("--purge"), QStringLiteral("vorimel")}, 300000);
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QTEST_GUILESS_MAIN(PackageTest)
#include "tst_package.moc"
