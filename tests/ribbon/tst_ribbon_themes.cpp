// The three themes: colours, the embedded pictures with their sizes and
// transparency, and loading through short-lived temporary files, including
// what happens when the temporary folder cannot be used.

#include "RibbonTestSupport.h"

#include "platform/AppError.h"
#include "ribbon/ErrorSource.h"
#include "ribbon/ResourcePicture.h"

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <map>

using ribbontest::pictures;

namespace {

const char *const ThemeNames[] = {"BLACK", "BLUE", "SILVER"};

// Picture sizes every theme must have, by resource id.
const std::map<int, QSize> &expectedSizes()
{
    static const std::map<int, QSize> sizes = {
        {101, {11, 142}}, {102, {7, 142}},  {103, {7, 142}},  {118, {15, 14}}, {119, {15, 14}}, {120, {15, 14}},
        {121, {4, 89}},   {122, {5, 89}},   {123, {5, 89}},   {124, {4, 89}},  {125, {4, 89}},  {126, {5, 89}},
        {127, {10, 24}},  {128, {18, 24}},  {129, {10, 24}},  {130, {10, 24}}, {131, {37, 24}}, {132, {10, 24}},
        {133, {5, 4}},    {134, {5, 4}},    {135, {3, 66}},   {136, {49, 66}}, {137, {3, 66}},  {138, {3, 66}},
        {139, {49, 66}},  {140, {3, 66}},
    };
    return sizes;
}

QImage resourceImage(int theme, int id)
{
    return QImage(QString(":/themes/%1/%2.gif").arg(ThemeNames[theme]).arg(id)).convertToFormat(QImage::Format_ARGB32);
}

QImage argb(const QPixmap &picture)
{
    return picture.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class RibbonThemesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        tempDir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tempDir_->isValid());
        qputenv("TMPDIR", tempDir_->path().toLocal8Bit());
    }

    void cleanup()
    {
        // Whatever a test did, no picture load may leave its temporary file.
        QCOMPARE(leftovers(), QStringList());
        tempDir_.reset();
    }

    void coloursOfEachTheme_data()
    {
        QTest::addColumn<int>("theme");
        QTest::addColumn<quint32>("catCaption");
        QTest::addColumn<quint32>("tabCaption");
        QTest::addColumn<quint32>("selectedTabCaption");
        QTest::addColumn<quint32>("buttonCaption");
        QTest::addColumn<quint32>("back");
        QTest::addColumn<quint32>("fore");
        QTest::newRow("BLACK") << 0 << 0xFFFFFFu << 0xFFFFFFu << 0x000000u << 0x80000008u << 0x464646u << 0xFFFFFFu;
        QTest::newRow("BLUE") << 1 << 0xB86A3Eu << 0x8B4215u << 0x8B4215u << 0x8B4215u << 0xDAB08Eu << 0x8B4215u;
        QTest::newRow("SILVER") << 2 << 0x6A625Cu << 0x6A625Cu << 0x6A625Cu << 0x6A625Cu << 0xDDD4D0u << 0x6A625Cu;
        QTest::newRow("5 is BLACK") << 5 << 0xFFFFFFu << 0xFFFFFFu << 0x000000u << 0x80000008u << 0x464646u << 0xFFFFFFu;
    }

    void coloursOfEachTheme()
    {
        QFETCH(int, theme);
        QFETCH(quint32, catCaption);
        QFETCH(quint32, tabCaption);
        QFETCH(quint32, selectedTabCaption);
        QFETCH(quint32, buttonCaption);
        QFETCH(quint32, back);
        QFETCH(quint32, fore);

        TelvarRibbon ribbon;
        ribbon.SetTheme(theme == 1 ? 2 : 1); // start from another theme
        ribbon.SetTheme(theme);
        ribbon.SetImageList(pictures(1));
        ribbon.AddTab("a", "First");
        ribbon.AddTab("b", "Second");
        ribbon.AddCat("c", "a", "Cat", false);
        ribbon.AddButton("b", "c", "Button", 1);
        ribbon.Refresh();
        const ribbon::RibbonParts &p = ribbon.parts();
        QCOMPARE(ribbon.BackColor(), back);
        QCOMPARE(ribbon.ForeColor(), fore);
        QCOMPARE(p.Cat_Caption(0)->ForeColor(), catCaption);
        QCOMPARE(p.Tab_caption(0)->ForeColor(), selectedTabCaption);
        QCOMPARE(p.Tab_caption(1)->ForeColor(), tabCaption);
        QCOMPARE(p.Button_Caption(1)->ForeColor(), buttonCaption);
        QCOMPARE(ribbon.palette().color(QPalette::Window), ribbon::colorFromValue(back));
    }

    void systemColourIsResolvedWhenDrawn()
    {
        QCOMPARE(ribbon::colorFromValue(0x80000008u), QGuiApplication::palette().color(QPalette::WindowText));
        QCOMPARE(ribbon::colorFromValue(0x00B86A3Eu), QColor(62, 106, 184));
    }

    void everyThemeCarriesEveryPictureAtItsSize()
    {
        for (int theme = 0; theme < 3; ++theme) {
            for (const auto &[id, size] : expectedSizes()) {
                QFile resource(QString(":/themes/%1/%2.gif").arg(ThemeNames[theme]).arg(id));
                QVERIFY2(resource.open(QIODevice::ReadOnly), qPrintable(resource.fileName()));
                QVERIFY(resource.read(6) == "GIF89a");
                const QPixmap picture = ribbon::LoadResourcePicture(id, ThemeNames[theme]);
                QVERIFY2(picture.size() == size, qPrintable(QString("%1 %2").arg(ThemeNames[theme]).arg(id)));
            }
        }
    }

    void applyingAThemeGivesTheTemplatesItsPictures()
    {
        TelvarRibbon ribbon;
        for (int theme : {2, 1, 0}) {
            ribbon.SetTheme(theme);
            const ribbon::RibbonParts &p = ribbon.parts();
            const std::pair<int, const ribbon::RibbonImage *> assigned[] = {
                {101, p.Barra2},
                {103, p.BarraRight},
                {118, p.Cat_Dlg.templ()},
                {120, p.Cat_Dlg_over.templ()},
                {122, p.Cat_Center_off.templ()},
                {126, p.Cat_Right_on.templ()},
                {128, p.Tab_center.templ()},
                {131, p.Tab_center_over.templ()},
                {134, p.Glip_on.templ()},
                {135, p.Button_left_over.templ()},
                {140, p.Button_right.templ()},
            };
            for (const auto &[id, image] : assigned)
                QVERIFY2(argb(image->Picture()) == resourceImage(theme, id),
                         qPrintable(QString("%1 %2").arg(ThemeNames[theme]).arg(id)));
            // Unstretched pieces take their picture's size; stretched ones keep theirs.
            QCOMPARE(p.Cat_Dlg.templ()->Width(), 225.f);
            QCOMPARE(p.Tab_left.templ()->Height(), 360.f);
            QCOMPARE(p.Barra2->Width(), 30720.f);
        }
    }

    void transparencyIsKept()
    {
        TelvarRibbon ribbon;
        for (int theme = 0; theme < 3; ++theme) {
            ribbon.SetTheme(theme);
            const ribbon::RibbonParts &p = ribbon.parts();
            const QImage glyph = argb(p.Glip_off.templ()->Picture());
            QCOMPARE(qAlpha(glyph.pixel(0, 3)), 0); // around the arrow
            QCOMPARE(qAlpha(glyph.pixel(2, 0)), 255);
            for (const ribbon::RibbonImage *edge :
                 {p.Button_left.templ(), p.Button_left_over.templ(), p.Tab_left.templ()}) {
                const QImage image = argb(edge->Picture());
                QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // outside a rounded corner
                QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 255);
            }
            for (const ribbon::RibbonImage *edge : {p.Button_right.templ(), p.Button_right_over.templ()})
                QCOMPARE(qAlpha(argb(edge->Picture()).pixel(2, 0)), 0);
            QVERIFY(!argb(p.Barra2->Picture()).hasAlphaChannel()
                    || qAlpha(argb(p.Barra2->Picture()).pixel(5, 70)) == 255);
        }
    }

    void backgroundPicture()
    {
        TelvarRibbon ribbon;
        ribbon.SetTheme(0);
        QCOMPARE(ribbon.LoadBackground().size(), QSize(499, 157));
        ribbon.SetTheme(1);
        QCOMPARE(ribbon.LoadBackground().size(), QSize(499, 157));
        ribbon.SetTheme(2);
        QCOMPARE(ribbon.LoadBackground().size(), QSize(1, 1));
        // Its far corner is the window colour, so it blends into the host's background.
        ribbon.SetTheme(1);
        QCOMPARE(argb(ribbon.LoadBackground()).pixelColor(498, 156).rgb() & 0xF0F0F0,
                 ribbon::colorFromValue(ribbon.BackColor()).rgb() & 0xF0F0F0);
    }

    void sameThemeTwiceReloadsAndLeavesNoFile()
    {
        TelvarRibbon ribbon;
        ribbon.SetTheme(1);
        const qint64 first = ribbon.parts().Barra2->Picture().cacheKey();
        const qint64 firstTab = ribbon.parts().Tab_right_over.templ()->Picture().cacheKey();
        ribbon.SetTheme(1);
        QVERIFY(ribbon.parts().Barra2->Picture().cacheKey() != first);
        QVERIFY(ribbon.parts().Tab_right_over.templ()->Picture().cacheKey() != firstTab);
        QCOMPARE(leftovers(), QStringList());
    }

    void themeChangeReachesOtherElementsAtTheNextLayout()
    {
        TelvarRibbon ribbon;
        ribbon.SetTheme(0);
        ribbon.SetImageList(pictures(1));
        ribbon.AddTab("a", "First");
        ribbon.AddTab("b", "Second");
        ribbon.AddCat("c1", "a", "One", false);
        ribbon.AddCat("c2", "a", "Two", false);
        ribbon.Refresh();
        const ribbon::RibbonParts &p = ribbon.parts();

        ribbon.SetTheme(1);
        QCOMPARE(argb(p.Barra2->Picture()), resourceImage(1, 101));
        QCOMPARE(argb(p.Tab_center(0)->Picture()), resourceImage(1, 128));
        QCOMPARE(argb(p.Cat_Center_off(0)->Picture()), resourceImage(1, 122));
        QCOMPARE(p.Cat_Caption(0)->ForeColor(), 0xB86A3Eu);
        QCOMPARE(argb(p.Tab_center(1)->Picture()), resourceImage(0, 128));
        QCOMPARE(argb(p.Cat_Center_off(1)->Picture()), resourceImage(0, 122));
        QCOMPARE(p.Cat_Caption(1)->ForeColor(), 0xFFFFFFu);
        QCOMPARE(p.Tab_caption(1)->ForeColor(), 0xFFFFFFu); // tab colours wait for the layout

        ribbon.Refresh();
        QCOMPARE(argb(p.Tab_center(1)->Picture()), resourceImage(1, 128));
        QCOMPARE(argb(p.Cat_Center_off(1)->Picture()), resourceImage(1, 122));
        QCOMPARE(p.Cat_Caption(1)->ForeColor(), 0xB86A3Eu);
        QCOMPARE(p.Tab_caption(1)->ForeColor(), 0x8B4215u);
    }

    void unusableTemporaryFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("code");
        QTest::newRow("missing folder") << "missing/below" << ENOENT;
        QTest::newRow("a file, not a folder") << "plain-file" << ENOTDIR;
    }

    void unusableTemporaryFolder()
    {
        QFETCH(QString, folder);
        QFETCH(int, code);
        QFile plain(tempDir_->filePath("plain-file"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();

        TelvarRibbon ribbon;
        ribbon.SetTheme(0);
        const QImage blackBand = argb(ribbon.parts().Barra2->Picture());
        qputenv("TMPDIR", tempDir_->filePath(folder).toLocal8Bit());
        const QString source = ribbon::executableName() + ".cLoadResPicture";
        try {
            ribbon.SetTheme(1);
            QFAIL("theme loaded without a temporary folder");
        } catch (const platform::AppError &error) {
            QCOMPARE(error.number(), code | 10000);
            QCOMPARE(error.source(), source);
            QCOMPARE(error.description(), QString::fromLocal8Bit(std::strerror(code)));
        }
        QCOMPARE(ribbon.Theme(), qint16(1));
        QCOMPARE(ribbon.BackColor(), 0xDAB08Eu); // colours come before the pictures
        QCOMPARE(argb(ribbon.parts().Barra2->Picture()), blackBand);
        expectLoadError([&] { ribbon.LoadBackground(); }, code | 10000, source);
        qputenv("TMPDIR", tempDir_->path().toLocal8Bit());
        QVERIFY(plain.remove());
    }

    void failedLoadsRemoveTheirFile()
    {
        const QString source = ribbon::executableName() + ".cLoadResPicture";
        expectLoadError([] { ribbon::LoadResourcePicture(104, "BLACK"); }, ribbon::ErrResourceNotFound, source);
        expectLoadError([] { ribbon::LoadResourcePicture(101, "GREEN"); }, ribbon::ErrResourceNotFound, source);

        // A stored theme number outside the three names no image set.
        TelvarRibbon ribbon;
        ribbon.ReadProperties({{"Theme", 9}});
        expectLoadError([&] { ribbon.LoadBackground(); }, ribbon::ErrInvalidPicture, source);
    }

    void temporaryFileNames()
    {
        const QString name = ribbon::MakeTempFileName("LRP", QString());
        QVERIFY(QFileInfo(name).fileName().startsWith("LRP"));
        QCOMPARE(QFileInfo(name).absolutePath(), QDir(tempDir_->path()).absolutePath());
        QVERIFY(QFileInfo(name).isFile());
        QCOMPARE(QFileInfo(name).size(), 0);
        const QString second = ribbon::MakeTempFileName("LRP", QString());
        QVERIFY(second != name);
        ribbon::DeleteTempFile(second);
        ribbon::DeleteTempFile(name);
        QVERIFY(!QFileInfo::exists(name));
        ribbon::DeleteTempFile(name); // a missing file is no error
        QVERIFY(ribbon::GetTempDirectory().endsWith('/'));
        expectLoadError([&] { ribbon::MakeTempFileName("LRP", tempDir_->filePath("absent")); }, ENOENT | 10000,
                        ribbon::executableName() + ".cAniCursor");
    }

private:
    QStringList leftovers() const
    {
        return QDir(tempDir_->path()).entryList({"LRP*"}, QDir::Files | QDir::Hidden);
    }

    template <class Action>
    void expectLoadError(Action action, int number, const QString &source)
    {
        try {
            action();
            QFAIL("no error raised");
        } catch (const platform::AppError &error) {
            QCOMPARE(error.number(), number);
            QCOMPARE(error.source(), source);
            QVERIFY(!error.description().isEmpty());
        }
        QCOMPARE(leftovers(), QStringList());
    }

    std::unique_ptr<QTemporaryDir> tempDir_;
};

QTEST_MAIN(RibbonThemesTest)
#include "tst_ribbon_themes.moc"
