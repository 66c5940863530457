// The keyword search on the full database built from the CMS release, counted
// against the release's own order file.

#include "FixtureDatabase.h"
#include "WindowDriver.h"
#include "lookup/AdvancedPanel.h"
#include "lookup/DetailsGrid.h"
#include "lookup/TextRowDelegate.h"
#include "platform/db/Database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QtTest>

namespace {

const QString CmsDir = QStringLiteral(VORIMEL_CMS_DIR);
const QStringList ReleaseFiles = {"icd10pcs_order_2020.txt", "icd10pcs_tables_2020.xml", "2018_I10_pcs_gem.txt",
                                  "CMS32_DESC_LONG_SG.txt"};

bool run(const QString &program, const QStringList &arguments, const QString &output, QString &failure,
         int timeoutMs)
{
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        failure = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError())
                  + process.errorString();
        return false;
    }
    return true;
}

// Long titles of the valid codes (flag 1) of an order file, by code, read
// without the program's code.
QMap<QString, QString> validLongTitles(const QString &orderFile)
{
    QFile file(orderFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QMap<QString, QString> titles;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.size() > 77 && line[14] == '1')
            titles.insert(QString::fromLatin1(line.mid(6, 7)), QString::fromLatin1(line.mid(77)).trimmed());
    }
    return titles;
}

qsizetype countContaining(const QStringList &titles, const QString &text)
{
    return std::count_if(titles.begin(), titles.end(),
                         [&](const QString &title) { return title.contains(text, Qt::CaseInsensitive); });
}

} // namespace

class FullDatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const QString &name : ReleaseFiles) {
            if (!QFile::exists(CmsDir + QLatin1Char('/') + name + QStringLiteral(".xz")))
                QSKIP(qPrintable(QStringLiteral("The CMS release is not at %1 (%2.xz missing); set VORIMEL_CMS_DIR "
                                                "to check the search on the full database.")
                                     .arg(CmsDir, name)));
        }
        const QString builder = QStringLiteral(VORIMEL_BIN_DIR "/vorimel-pcsdb");
        if (!QFile::exists(builder))
            QSKIP("vorimel-pcsdb is not built; build it to check the search on the full database.");
        QVERIFY(dir_.isValid());
        QString failure;
        QStringList arguments;
        const QStringList options = {"--order", "--tables", "--gem", "--icd9"};
        for (int i = 0; i < ReleaseFiles.size(); ++i) {
            const QString plain = dir_.filePath(ReleaseFiles[i]);
            QVERIFY2(run(QStringLiteral("xz"), {"-dc", CmsDir + QLatin1Char('/') + ReleaseFiles[i] + ".xz"}, plain,
                         failure, 120000),
                     qPrintable(failure));
            arguments << options[i] << plain;
        }
        arguments << QStringLiteral("--output") << dir_.filePath(QStringLiteral("pcs.mdb"));
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(run(builder, arguments, QString(), failure, 1200000), qPrintable(failure));
        qInfo("pcs.mdb built from the release in %lld ms", clock.elapsed());
        clock.restart();
        fixture::openShared(dir_.filePath(QStringLiteral("pcs.mdb")));
        qInfo("opened in %lld ms", clock.elapsed());
        titlesByCode_ = validLongTitles(dir_.filePath(ReleaseFiles[0]));
        titles_ = titlesByCode_.values();
        QVERIFY(titles_.size() > 70000);
    }
    void cleanupTestCase() { platform::db::releaseShared(); }

    void keywordSearchCountsWhatTheOrderFileHolds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("bypass coronary") << "bypass coronary";
        QTest::newRow("mixed case") << "Bypass CORONARY Artery";
        QTest::newRow("empty") << "";
    }
    void keywordSearchCountsWhatTheOrderFileHolds()
    {
        QFETCH(QString, text);
        const qsizetype expected = countContaining(titles_, text);
        QVERIFY(expected > 0);
        WindowDriver d;
        QElapsedTimer clock;
        clock.start();
        d.search(text);
        qInfo("\"%s\": %lld rows listed in %lld ms", qPrintable(text), qlonglong(d.results().size()), clock.elapsed());
        QCOMPARE(d.results().size(), expected);
        QCOMPARE(d.resultIds().size(), expected);
        QCOMPARE(d.window().lblSearch()->text(), QString::number(expected) + QStringLiteral(" Item(s) Found"));
        QCOMPARE(d.prompts().questions.size(), text.isEmpty() ? 1 : 0);
        for (const QString &description : d.results())
            QVERIFY(description.contains(text, Qt::CaseInsensitive));
    }

    void wordsInAnyOrderFindTitlesHoldingEachWord()
    {
        const QStringList words = {"coronary", "bypass"};
        const qsizetype expected = std::count_if(titles_.begin(), titles_.end(), [&](const QString &title) {
            return title.contains(words[0], Qt::CaseInsensitive) && title.contains(words[1], Qt::CaseInsensitive);
        });
        QCOMPARE(countContaining(titles_, words.join(' ')), 0);
        QVERIFY(expected > 0);
        WindowDriver d;
        d.search(words.join(' '));
        qInfo("\"coronary bypass\": %lld titles hold both words", qlonglong(d.results().size()));
        QCOMPARE(d.results().size(), expected);
        QCOMPARE(d.window().lblSearch()->text(), QString::number(expected) + QStringLiteral(" Item(s) Found (all words)"));
    }

    // Result rows are measured word by word; across the whole vocabulary of
    // the release that must come out as the style's own measure.
    void everyTitleMeasuresAsTheStyleDoes()
    {
        lookup::frmProcedures window;
        lookup::ResultList *list = window.lstSearch();
        for (const QString &title : std::as_const(titles_))
            list->addItem(title);
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.font = list->font();
        option.fontMetrics = QFontMetrics(option.font);
        QStyledItemDelegate style;
        lookup::TextRowDelegate words;
        for (int row = 0; row < list->count(); ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            const QSize measured = words.sizeHint(option, index);
            if (measured != style.sizeHint(option, index))
                QFAIL(qPrintable(QStringLiteral("row %1 \"%2\" measures %3 wide, the style %4")
                                     .arg(row)
                                     .arg(list->text(row))
                                     .arg(measured.width())
                                     .arg(style.sizeHint(option, index).width())));
        }
    }

    // The window's preferred size is estimated from the list's font alone; at
    // that size every title of the release must show whole, on one line.
    void preferredSizeShowsTheWidestTitleWhole()
    {
        lookup::frmProcedures window;
        window.resize(window.preferredSize());
        window.show();
        lookup::ResultList *list = window.lstSearch();
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.font = list->font();
        int widest = 0;
        QString widestTitle;
        for (const QString &title : std::as_const(titles_)) {
            list->addItem(title);
            const int width = list->itemDelegate()->sizeHint(option, list->model()->index(list->count() - 1, 0)).width();
            if (width > widest) {
                widest = width;
                widestTitle = title;
            }
        }
        qInfo("widest title %d px (\"%s\"), list viewport %d px", widest, qPrintable(widestTitle),
              list->viewport()->width());
        QVERIFY(widest <= list->viewport()->width());
    }

    // getalldata is too large to copy whole: the search scans the columns
    // it searches, copied one by one, and the details are read by ID through
    // the table itself.
    void advancedSearchFindsWhatTheOrderFileHolds()
    {
        qsizetype expected = 0;
        for (auto it = titlesByCode_.cbegin(); it != titlesByCode_.cend(); ++it)
            expected += it.key().contains(QStringLiteral("02")) && it.value().contains(QStringLiteral("artery"), Qt::CaseInsensitive);
        QVERIFY(expected > 100);
        WindowDriver d;
        d.openAdvanced();
        d.window().picAdvanced()->selectPosition(lookup::TextPosition::Includes);
        d.tick(0, QStringLiteral("ARTERY"));
        d.tick(1, QStringLiteral("02"));
        QElapsedTimer clock;
        clock.start();
        d.find();
        qInfo("first advanced search, its columns copied: %lld rows in %lld ms", qlonglong(d.results().size()),
              clock.elapsed());
        QCOMPARE(d.results().size(), expected);
        d.clickResult(0);
        const QString code = d.gridValue(lookup::CodeRow);
        QCOMPARE(titlesByCode_.value(code), d.results().front());
    }

private:
    QTemporaryDir dir_;
    QMap<QString, QString> titlesByCode_;
    QStringList titles_;
};

QTEST_MAIN(FullDatabaseTest)
#include "tst_full_database.moc"
