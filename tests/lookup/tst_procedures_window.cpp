// The search window driven through its widgets on a fixture pcs.mdb.

#include "FixtureDatabase.h"
#include "WindowDriver.h"
#include "lookup/AdvancedPanel.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/ResultLists.h"
#include "lookup/SharedQuery.h"
#include "lookup/Statements.h"
#include "platform/db/Database.h"
#include "platform/grid/Grid.h"
#include "platform/grid/GridCellDelegate.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using lookup::frmProcedures;

namespace {

QString qs(const std::string &text)
{
    return QString::fromStdString(text);
}

const fixture::Detail &detail(int id, const char *pcs9)
{
    for (const fixture::Detail &d : fixture::details()) {
        if (d.id == id && d.pcs9.value_or("") == pcs9)
            return d;
    }
    qFatal("no such fixture row");
}

QString descriptionOf(int id)
{
    for (const fixture::Procedure &p : fixture::procedures()) {
        if (p.id == id)
            return qs(p.description);
    }
    return {};
}

// The eleven values the grid shows for one getalldata row.
QStringList valuesOf(const fixture::Detail &d)
{
    QStringList values = {descriptionOf(d.id), qs(d.code), qs(d.pcs9.value_or("")), qs(d.pcs9desc)};
    for (int n = 1; n <= 7; ++n)
        values << qs(fixture::characterMeaning(d, n));
    return values;
}

QString duplicateLine(const fixture::Detail &d)
{
    return qs(d.code) + " - " + qs(d.pcs9.value_or("")) + " - " + qs(d.pcs9desc);
}

QString lastStatement()
{
    return platform::db::sharedCommand().commandText();
}

// The states of the lower area: grid, duplicates panel, result list.
enum class Area { DetailsShown, ChoicePending };

bool inState(frmProcedures &w, Area state)
{
    const bool grid = !w.vbalGrid()->isHidden();
    const bool panel = !w.picDuplicates()->isHidden();
    const bool list = w.lstSearch()->isEnabled();
    return state == Area::DetailsShown ? (grid && !panel && list) : (!grid && panel && !list);
}

QWidget *widgetAt(frmProcedures &w, const QWidget *over)
{
    return w.childAt(over->geometry().center());
}

} // namespace

class ProceduresWindowTest : public fixture::SharedFixtureTest {
    Q_OBJECT

private slots:
    void cleanup()
    {
        QVERIFY(!lookup::SharedQuery::isRunning());
        QVERIFY(!platform::db::sharedRecordset().isOpen());
    }

    void loadsWithItsLayoutAndAnEmptyGrid()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        QCOMPARE(w.windowTitle(), QStringLiteral("Procedures"));
        // Rectangles from twips, 15 to the pixel.
        QCOMPARE(w.lstSearch()->geometry(), QRect(8, 8, 569, 108));
        QCOMPARE(w.vbalGrid()->geometry(), QRect(8, 120, 721, 337));
        QCOMPARE(w.picAdvanced()->geometry(), w.vbalGrid()->geometry());
        QCOMPARE(w.picDuplicates()->geometry(), w.vbalGrid()->geometry());
        QCOMPARE(w.picAdvanced()->txtParam(10)->geometry(), QRect(136, 256, 177, 19));
        QCOMPARE(w.picAdvanced()->cmdAdvancedSearch()->geometry(), QRect(168, 288, 145, 25));
        // A seven-digit count shows whole, on two lines if need be, above the grid.
        QLabel *count = w.lblSearch();
        count->setText(lookup::ResultLists::countCaption(1234567));
        const int needed = count->heightForWidth(count->width());
        QVERIFY(needed > 0 && needed <= count->height());
        QVERIFY(count->geometry().bottom() < w.vbalGrid()->geometry().top());
        count->clear();

        // At load: empty list and count, panels hidden, grid shown with captions, icons, no values.
        QCOMPARE(w.lstSearch()->count(), 0);
        QVERIFY(w.lstSearchID()->isHidden());
        QVERIFY(w.lblSearch()->text().isEmpty());
        QVERIFY(w.picAdvanced()->isHidden());
        QVERIFY(w.picDuplicates()->isHidden());
        QVERIFY(inState(w, Area::DetailsShown));
        QCOMPARE(w.picDuplicates()->lblDuplicates()->text(),
                 QStringLiteral("More than ONE record was found for the item you selected. Please double click to "
                                "select the item you need from the list below."));
        QVERIFY(w.picAdvanced()->optParamSettings(1)->isChecked());
        QVERIFY(w.picAdvanced()->optParamConcat(0)->isChecked());
        for (int i = 0; i < lookup::AdvancedPanel::ParamCount; ++i)
            QVERIFY(!w.picAdvanced()->chkParam(i)->isChecked());

        platform::Grid &grid = *w.vbalGrid();
        QCOMPARE(grid.rowCount(), 11);
        QCOMPARE(grid.columnCount(), 3);
        QCOMPARE(grid.columnKey(1), QStringLiteral("icon"));
        QCOMPARE(grid.columnWidth(0), 36);
        QCOMPARE(grid.columnWidth(1), 100);
        // The value column is as designed at the design size and takes only
        // the width the window gains.
        QCOMPARE(grid.columnWidth(2), 200);
        w.resize(w.width() + 90, w.height());
        QCOMPARE(grid.columnWidth(2), 290);
        w.resize(w.minimumSize());
        const QStringList captions = {"Procedure Name", "ICD 10 - PCS Code", "ICD 9 - PCS Code",
                                      "ICD 9 - PCS Description", "Code Char 1", "Code Char 2", "Code Char 3",
                                      "Code Char 4", "Code Char 5", "Code Char 6", "Code Char 7"};
        for (int n = 1; n <= 11; ++n) {
            QCOMPARE(grid.cellText(n, 2), captions[n - 1]);
            QCOMPARE(grid.item(n - 1, 1)->data(platform::GridRole::TextFormat).toUInt(), 20u);
            QCOMPARE(grid.item(n - 1, 0)->data(platform::GridRole::IconIndex).toInt(), n);
            QCOMPARE(grid.item(n - 1, 0)->data(platform::GridRole::TextFormat).toUInt(), 0x40020u);
            QVERIFY(grid.cellText(n, 1).isEmpty());
            QVERIFY(grid.cellText(n, 3).isEmpty());
            QVERIFY(grid.rowHeight(n - 1) >= 32);
        }
        QCOMPARE(w.vbalImageList().count(), 11);
        for (int n = 1; n <= 11; ++n)
            QCOMPARE(w.vbalImageList().picture(n).size(), QSize(32, 32));
        QVERIFY(w.vbalImageList().picture(5).toImage() != w.vbalImageList().picture(6).toImage());
        // Windows colour values are 0x00BBGGRR: the stored highlight 0xC0E0FF is (255, 224, 192).
        QCOMPARE(grid.palette().color(QPalette::Active, QPalette::Highlight), QColor(255, 224, 192));
        QCOMPARE(grid.headerHeight(), 30);
    }

    void longValuesWrapInTheValueColumn()
    {
        WindowDriver d;
        platform::Grid &grid = *d.window().vbalGrid();
        const int oneLine = grid.rowHeight(0);
        grid.setCellDetails(1, lookup::ValueColumn, QString(40, QLatin1Char('x')).replace(5, 1, " ").repeated(12),
                            lookup::TextCellFormat);
        QVERIFY(grid.rowHeight(0) > oneLine);
        d.window().EmptyTheGrid();
        QCOMPARE(grid.rowHeight(0), oneLine);
        QVERIFY_THROWS_EXCEPTION(platform::AppError, grid.setCellDetails(12, 3, QString(), 20));
        QVERIFY_THROWS_EXCEPTION(platform::AppError, grid.cellText(1, 4));
    }

    void selectedRowShowsItsPictureUntinted()
    {
        // Left to itself the style tints a selected row's picture with the
        // application's highlight.
        WindowDriver d;
        platform::Grid &grid = *d.window().vbalGrid();
        grid.selectRow(1);
        const QImage shot = grid.viewport()->grab(grid.visualRect(grid.model()->index(1, 0))).toImage();
        QImage expected(32, 32, QImage::Format_RGB32);
        expected.fill(grid.palette().color(QPalette::Highlight));
        QPainter(&expected).drawPixmap(0, 0, d.window().vbalImageList().picture(2));
        bool found = false;
        for (int x = 0; x + 32 <= shot.width() && !found; ++x)
            for (int y = 0; y + 32 <= shot.height() && !found; ++y)
                found = shot.copy(x, y, 32, 32).convertToFormat(QImage::Format_RGB32) == expected;
        QVERIFY(found);
    }

    void backgroundFromTheFrame()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        QPixmap picture(16, 16);
        picture.fill(QColor(200, 10, 10));
        w.setBackground(picture, QColor(20, 30, 40));
        const QImage shot = w.grab().toImage();
        QCOMPARE(QColor(shot.pixel(2, 2)), QColor(200, 10, 10));
        QCOMPARE(QColor(shot.pixel(735, 200)), QColor(20, 30, 40));
        // Captions on a dark surface are drawn light.
        QVERIFY(w.lblWait(0)->palette().color(QPalette::WindowText).lightness() > 200);
        w.setBackground(QPixmap(), QColor(240, 240, 240));
        QVERIFY(w.lblSearch()->palette().color(QPalette::WindowText).lightness() < 50);
    }

    void waitLabelsShowWhereListOrGridIsHidden()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        QVERIFY(w.lstSearch()->isAncestorOf(widgetAt(w, w.lstSearch())));
        QVERIFY(w.vbalGrid()->isAncestorOf(widgetAt(w, w.lblWait(0))));
        // Covered, they are hidden too: a reader's review of the screen would read them.
        QVERIFY(w.lblWait(0)->isHidden() && w.lblWait(1)->isHidden());
        w.lstSearch()->hide();
        w.vbalGrid()->hide();
        w.lblWait(0)->show();
        w.lblWait(1)->show();
        QCOMPARE(widgetAt(w, w.lblWait(1)), w.lblWait(1));
        QCOMPARE(widgetAt(w, w.lblWait(0)), w.lblWait(0));
    }

    void enterOnKeyReleaseStartsTheSearch_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("searches");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
        QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << true;
        QTest::newRow("Ctrl+keypad Enter") << int(Qt::Key_Enter) << int(Qt::ControlModifier | Qt::KeypadModifier)
                                           << true;
        QTest::newRow("letter") << int(Qt::Key_S) << int(Qt::NoModifier) << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << false;
    }
    void enterOnKeyReleaseStartsTheSearch()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, searches);
        WindowDriver d;
        // A press alone never searches.
        d.window().txtSearch()->setText(QStringLiteral("bypass"));
        QTest::keyPress(d.window().txtSearch(), Qt::Key_Return);
        QVERIFY(d.window().lblSearch()->text().isEmpty());
        d.window().txtSearch()->setFocus();
        QTRY_VERIFY(d.window().txtSearch()->hasFocus());
        d.typeAndRelease(QStringLiteral("bypass"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(d.window().lblSearch()->text(), searches ? QStringLiteral("3 Item(s) Found") : QString());
        QCOMPARE(d.results().size(), searches ? 3 : 0);
        // Typing goes on where it was (Tab itself moves on).
        QCOMPARE(d.window().txtSearch()->hasFocus(), key != Qt::Key_Tab);
    }

    void keywordSearchFillsTwinListsAndCounts()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        bool disabled = false, listHidden = false, waitShows = false;
        {
            DuringReading check(2, [&] {
                disabled = !w.isEnabled();
                listHidden = w.lstSearch()->isHidden();
                waitShows = widgetAt(w, w.lblWait(1)) == w.lblWait(1);
            });
            d.search(QStringLiteral("BYPASS"));
            QVERIFY(check.ran());
        }
        QVERIFY(disabled);
        QVERIFY(listHidden);
        QVERIFY(waitShows);
        QVERIFY(w.isEnabled());
        QVERIFY(!w.lstSearch()->isHidden());
        QCOMPARE(d.results(), QStringList({descriptionOf(10), descriptionOf(1), descriptionOf(2)}));
        QCOMPARE(d.resultIds(), QStringList({"10", "1", "2"}));
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("3 Item(s) Found"));
        QCOMPARE(lastStatement(), lookup::keywordStatement(QStringLiteral("BYPASS")));

        d.search(QStringLiteral("noprocedureiscalledthis"));
        QVERIFY(d.results().isEmpty());
        QVERIFY(d.resultIds().isEmpty());
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("0 Item(s) Found"));

        // Quotes find what they say; wildcards keep their meaning.
        d.search(QStringLiteral("crohn's"));
        QCOMPARE(d.resultIds(), QStringList({"3"}));
        d.search(QStringLiteral("100%open"));
        QCOMPARE(d.resultIds(), QStringList({"4"}));
        d.search(QStringLiteral("p_cemaker"));
        QCOMPARE(d.resultIds(), QStringList({"11", "6"}));
        QVERIFY(d.prompts().messages.isEmpty());
        QVERIFY(d.prompts().questions.isEmpty());
    }

    void wordsInAnyOrderWhenThePhraseFindsNothing()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        // Every title holding both words, whatever their order, case and spacing, sorted as always.
        d.search(QStringLiteral("CORONARY  bypass"));
        QCOMPARE(d.resultIds(), QStringList({"10", "1", "2"}));
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("3 Item(s) Found (all words)"));
        QCOMPARE(lastStatement(), lookup::allWordsStatement({"CORONARY", "bypass"}));
        // Typed quotes are doubled in every word; wildcards keep their meaning.
        d.search(QStringLiteral("lesion crohn's"));
        QCOMPARE(d.resultIds(), QStringList({"3"}));
        d.search(QStringLiteral("left 100%open"));
        QCOMPARE(d.resultIds(), QStringList({"4"}));
        d.search(QStringLiteral("no procedure is called this"));
        QVERIFY(d.resultIds().isEmpty());
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("0 Item(s) Found (all words)"));
        // A phrase that matches is searched and counted as before.
        d.search(QStringLiteral("coronary artery"));
        QCOMPARE(d.resultIds(), QStringList({"10", "1", "2"}));
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("3 Item(s) Found"));
        QCOMPARE(lastStatement(), lookup::keywordStatement(QStringLiteral("coronary artery")));
        QVERIFY(d.prompts().messages.isEmpty());
    }

    void blankTextIsConfirmedFirst()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("bypass"));
        d.clickResult(1);
        const QStringList grid = d.gridValues();

        d.prompts().answer = false;
        d.search(QStringLiteral("   "));
        QCOMPARE(d.prompts().questions.size(), 1);
        QCOMPARE(d.prompts().questions[0].title, QStringLiteral("No search criteria found..."));
        QCOMPARE(d.prompts().questions[0].prompt,
                 QStringLiteral("No Search Criteria where entered. Proceeding with the search may take a long "
                                "time.\r\nAre you sure you want to continue?"));
        // No: nothing changes.
        QCOMPARE(d.resultIds(), QStringList({"10", "1", "2"}));
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("3 Item(s) Found"));
        QCOMPARE(d.gridValues(), grid);
        QCOMPARE(w.lstSearch()->currentRow(), 1);

        // Yes: searched untrimmed, three spaces in a row.
        d.prompts().answer = true;
        d.search(QStringLiteral("   "));
        QCOMPARE(d.prompts().questions.size(), 2);
        QCOMPARE(d.resultIds(), QStringList({"10"}));
        QCOMPARE(d.gridValues(), grid);

        d.search(QString());
        QCOMPARE(d.results().size(), qsizetype(fixture::procedures().size()));
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("11 Item(s) Found"));
        QCOMPARE(d.prompts().questions.size(), 3);
    }

    void resultRowShowsItsDetails()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("bypass"));
        d.openAdvanced();
        QVERIFY(!w.picAdvanced()->isHidden());
        d.clickResult(1); // ID 1, one ICD-9 row
        QVERIFY(w.picAdvanced()->isHidden());
        QCOMPARE(lastStatement(), QStringLiteral("SELECT * FROM getalldata where ID= 1 ;"));
        QVERIFY(inState(w, Area::DetailsShown));
        QCOMPARE(d.gridValues(), valuesOf(detail(1, "36.11")));
        QVERIFY(w.lstSearch()->hasFocus());

        // Arrow keys request the details of each newly selected row.
        WindowDriver::press(w.lstSearch(), Qt::Key_Down);
        QCOMPARE(d.gridValues(), valuesOf(detail(2, "36.12")));
        WindowDriver::press(w.lstSearch(), Qt::Key_Up);
        WindowDriver::press(w.lstSearch(), Qt::Key_Up);
        QCOMPARE(d.gridValues(), valuesOf(detail(10, "36.19")));

        // No rows for an identifier: the grid keeps what it showed.
        w.GetProductDetails(424242, QStringLiteral("0"));
        QCOMPARE(d.gridValues(), valuesOf(detail(10, "36.19")));
        QVERIFY(inState(w, Area::DetailsShown));
        w.EmptyTheGrid();
        QCOMPARE(d.gridValues(), QStringList(11, QString()));
        QCOMPARE(w.vbalGrid()->cellText(1, 2), QStringLiteral("Procedure Name"));
    }

    void severalIcd9RowsAskForAChoice()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("pacemaker lead"));
        QCOMPARE(d.resultIds(), QStringList({"6"}));
        d.clickResult(0);
        QVERIFY(inState(w, Area::ChoicePending));
        const fixture::Detail &second = detail(6, "37.81");
        QCOMPARE(d.duplicates(), QStringList({duplicateLine(detail(6, "37.80")), duplicateLine(second),
                                              duplicateLine(detail(6, "37.82"))}));
        QCOMPARE(WindowDriver::items(w.picDuplicates()->lstDuplicatesID()), QStringList({"6", "6", "6"}));
        QCOMPARE(WindowDriver::items(w.picDuplicates()->lstDuplicatesCode()),
                 QStringList({"37.80", "37.81", "37.82"}));

        d.doubleClickDuplicate(1);
        QCOMPARE(lastStatement(), QStringLiteral("SELECT * FROM getalldata where ID= 6 and pcs9 like '37.81' ;"));
        QVERIFY(inState(w, Area::DetailsShown));
        QCOMPARE(d.gridValues(), valuesOf(second));

        // A code given with several rows matching it: the details of the last row, no choice.
        w.GetProductDetails(5, QStringLiteral("81%"));
        QVERIFY(inState(w, Area::DetailsShown));
        QCOMPARE(d.gridValues(), valuesOf(detail(5, "81.52")));
        // A code of numeric value zero asks for no particular code.
        w.GetProductDetails(5, QStringLiteral("NoI9"));
        QCOMPARE(lastStatement(), QStringLiteral("SELECT * FROM getalldata where ID= 5 ;"));
        QVERIFY(inState(w, Area::ChoicePending));
        QCOMPARE(d.duplicates().size(), 2);
        // "00.01" is not zero: its row is asked for by code.
        w.GetProductDetails(7, QStringLiteral("00.01"));
        QVERIFY(inState(w, Area::DetailsShown));
        QCOMPARE(d.gridValues(), valuesOf(detail(7, "00.01")));
    }

    void duplicateWithoutIcd9CodeShowsItsOwnRow()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("perfusion"));
        d.clickResult(0); // ID 8: "NoI9" and a Null code
        QVERIFY(inState(w, Area::ChoicePending));
        QCOMPARE(WindowDriver::items(w.picDuplicates()->lstDuplicatesCode()), QStringList({"NoI9", ""}));

        d.doubleClickDuplicate(1);
        QVERIFY(inState(w, Area::DetailsShown));
        QCOMPARE(d.gridValues(), valuesOf(detail(8, "")));

        w.GetProductDetails(8, QStringLiteral("0"));
        QVERIFY(inState(w, Area::ChoicePending));
        d.doubleClickDuplicate(0);
        QVERIFY(inState(w, Area::DetailsShown));
        QCOMPARE(d.gridValues(), valuesOf(detail(8, "NoI9")));
    }

    void advancedSearchFillsTheResultList()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        lookup::AdvancedPanel &panel = *w.picAdvanced();
        d.openAdvanced();
        QVERIFY(!panel.isHidden());
        d.tick(1, QStringLiteral("02H"));
        d.tick(3, QStringLiteral("unused"));
        panel.chkParam(3)->setChecked(false);
        QTest::mouseClick(panel.optParamSettings(0), Qt::LeftButton);
        QVERIFY(panel.optParamConcat(0)->isChecked()); // the groups are independent

        bool listHidden = false, panelShown = false, findDisabled = false;
        {
            DuringReading check(2, [&] {
                listHidden = w.lstSearch()->isHidden();
                panelShown = !panel.isHidden();
                findDisabled = !panel.cmdAdvancedSearch()->isEnabled();
            });
            d.find();
            QVERIFY(check.ran());
        }
        QVERIFY(listHidden && panelShown && findDisabled);
        QCOMPARE(lastStatement(), QStringLiteral("SELECT distinct [description],ID FROM getalldata where [code] "
                                                 "like '02H%' \r\n order by [description];"));
        QCOMPARE(d.resultIds(), QStringList({"11", "6"}));
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("2 Item(s) Found"));
        QVERIFY(panel.isHidden());
        QVERIFY(!w.lstSearch()->isHidden());
        QVERIFY(panel.cmdAdvancedSearch()->isEnabled());

        // Rows in index order whatever order they were ticked in; "Any Keyword" joins with OR.
        d.openAdvanced();
        d.tick(0, QStringLiteral("crohn's"));
        QTest::mouseClick(panel.optParamConcat(1), Qt::LeftButton);
        QTest::mouseClick(panel.optParamSettings(1), Qt::LeftButton);
        d.find();
        QCOMPARE(lastStatement(), QStringLiteral("SELECT distinct [description],ID FROM getalldata where "
                                                 "[Description] like '%crohn''s%' \r\n OR [code] like '%02H%' "
                                                 "\r\n order by [description];"));
        QCOMPARE(d.resultIds(), QStringList({"3", "11", "6"}));

        // CANCEL keeps ticks, texts and options for the next opening.
        d.openAdvanced();
        QTest::mouseClick(panel.optParamSettings(2), Qt::LeftButton);
        WindowDriver::click(panel.cmdAdvancedCancel());
        QVERIFY(panel.isHidden());
        d.openAdvanced();
        QVERIFY(panel.chkParam(0)->isChecked() && panel.chkParam(1)->isChecked());
        QCOMPARE(panel.txtParam(1)->text(), QStringLiteral("02H"));
        QVERIFY(panel.optParamSettings(2)->isChecked());
        QVERIFY(panel.optParamConcat(1)->isChecked());

        // A result of the advanced search leads to the details as usual.
        d.clickResult(0);
        QCOMPARE(d.gridValues(), valuesOf(detail(3, "45.62")));
    }

    void enterPressesTheButtonThatHasTheKeyboard()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        lookup::AdvancedPanel &panel = *w.picAdvanced();
        const auto pressEnter = [](QPushButton *button) {
            button->setFocus();
            WindowDriver::press(button, Qt::Key_Return);
        };
        w.txtSearch()->setText(QStringLiteral("bypass"));
        pressEnter(w.cmdSearch());
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("3 Item(s) Found"));
        pressEnter(w.Command1());
        QVERIFY(!panel.isHidden());
        pressEnter(panel.cmdAdvancedCancel());
        QVERIFY(panel.isHidden());
        pressEnter(w.Command1());
        d.tick(1, QStringLiteral("02H"));
        pressEnter(panel.cmdAdvancedSearch());
        QCOMPARE(d.resultIds(), QStringList({"11", "6"}));
    }

    void findWithoutTicksExplainsAndRunsNothing()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("bypass"));
        const QString before = lastStatement();
        d.openAdvanced();
        w.picAdvanced()->txtParam(0)->setText(QStringLiteral("heart")); // text without a tick
        d.find();
        QCOMPARE(d.prompts().messages.size(), 1);
        QVERIFY(d.prompts().messages[0].text.contains(QStringLiteral("Tick")));
        QCOMPARE(lastStatement(), before);
        QCOMPARE(d.resultIds(), QStringList({"10", "1", "2"}));
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("3 Item(s) Found"));
        QVERIFY(!w.picAdvanced()->isHidden());
        // PressAdvancedSearchButton is FIND.
        w.PressAdvancedSearchButton();
        QCOMPARE(d.prompts().messages.size(), 2);
        w.picAdvanced()->chkParam(0)->setChecked(true);
        w.PressAdvancedSearchButton();
        QCOMPARE(d.resultIds(), QStringList({"11", "8"}));
    }

    void databaseErrorsAreShownAndTheWindowStaysUsable()
    {
        QTemporaryDir otherDir;
        const QString withoutLongpcs = fixture::write(otherDir, fixture::Tables::DetailsOnly);
        fixture::openShared(withoutLongpcs);
        int expectedNumber = 0;
        QString expectedDescription;
        try {
            lookup::SharedQuery probe(lookup::keywordStatement(QStringLiteral("bypass")));
        } catch (const platform::AppError &error) {
            expectedNumber = error.number();
            expectedDescription = error.description();
        }
        QVERIFY(expectedNumber != 0);

        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("bypass"));
        QCOMPARE(d.prompts().messages.size(), 1);
        const RecordedPrompts::Message &shown = d.prompts().messages[0];
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QVERIFY(shown.text.contains(QString::number(expectedNumber)));
        QVERIFY(shown.text.contains(expectedDescription));
        QVERIFY(w.isEnabled());
        QVERIFY(!w.lstSearch()->isHidden());
        QVERIFY(!w.isReading());

        // The next search works.
        d.openAdvanced();
        d.tick(0, QStringLiteral("hip"));
        d.find();
        QCOMPARE(d.resultIds(), QStringList({"5"}));

        // A connection that went away: the advanced search reports it too and keeps its panel.
        platform::db::sharedConnection().close();
        d.openAdvanced();
        d.find();
        QCOMPARE(d.prompts().messages.size(), 2);
        QVERIFY(d.prompts().messages[1].text.contains(QString::number(platform::db::ErrNotOpen)));
        QVERIFY(!w.picAdvanced()->isHidden());
        QVERIFY(w.picAdvanced()->cmdAdvancedSearch()->isEnabled());
        QVERIFY(!w.lstSearch()->isHidden());
        QCOMPARE(d.resultIds(), QStringList({"5"}));
        // Details reading ignores it: grid back, list usable, values kept.
        d.clickResult(0);
        QVERIFY(inState(w, Area::DetailsShown));

        fixture::openShared(file_);
        d.search(QStringLiteral("bypass"));
        QCOMPARE(d.resultIds(), QStringList({"10", "1", "2"}));
        QCOMPARE(d.prompts().messages.size(), 2);
    }

    void advancedSearchLeavesAPendingChoice()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("pacemaker"));
        d.clickResult(1); // ID 6
        QVERIFY(inState(w, Area::ChoicePending));
        d.openAdvanced();
        QVERIFY(w.picDuplicates()->isHidden());
        QVERIFY(w.lstSearch()->isEnabled());
        WindowDriver::click(w.picAdvanced()->cmdAdvancedCancel());
        QVERIFY(inState(w, Area::DetailsShown));
        d.clickResult(0); // ID 11, one row
        QCOMPARE(d.gridValues(), valuesOf(detail(11, "37.70")));

        d.clickResult(1);
        QVERIFY(inState(w, Area::ChoicePending));
        w.picAdvanced()->show(); // opened earlier, still open
        d.tick(1, QStringLiteral("0SR"));
        d.find();
        QVERIFY(w.picDuplicates()->isHidden());
        QVERIFY(w.lstSearch()->isEnabled());
        QCOMPARE(d.resultIds(), QStringList({"5"}));
        d.clickResult(0);
        QVERIFY(inState(w, Area::ChoicePending));
    }

    void nothingStartsASecondStatementWhileRowsAreRead()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        // During a keyword search: Enter, Search, FIND, details.
        {
            DuringReading meddle(3, [&] {
                QVERIFY(w.isReading());
                WindowDriver::click(w.cmdSearch());
                w.picAdvanced()->chkParam(0)->setChecked(true);
                w.PressAdvancedSearchButton();
                w.GetProductDetails(1, QStringLiteral("0"));
            });
            d.search(QStringLiteral("bypass"));
            QVERIFY(meddle.ran());
        }
        QCOMPARE(lastStatement(), lookup::keywordStatement(QStringLiteral("bypass")));
        QCOMPARE(d.resultIds(), QStringList({"10", "1", "2"}));
        QVERIFY(inState(w, Area::DetailsShown));
        QVERIFY(w.isEnabled());

        // During the advanced search the window stays enabled: FIND and Search are pressed again.
        const QString advanced = QStringLiteral("SELECT distinct [description],ID FROM getalldata where "
                                                "[Description] like '%%' \r\n order by [description];");
        d.openAdvanced();
        w.picAdvanced()->txtParam(0)->clear();
        {
            DuringReading meddle(3, [&] {
                WindowDriver::click(w.picAdvanced()->cmdAdvancedSearch());
                w.PressAdvancedSearchButton();
                d.search(QStringLiteral("heart"));
                d.typeAndRelease(QStringLiteral("heart"), Qt::Key_Return);
                WindowDriver::click(w.Command1());
            });
            d.find();
            QVERIFY(meddle.ran());
        }
        QCOMPARE(lastStatement(), advanced);
        QCOMPARE(d.results().size(), qsizetype(fixture::procedures().size()));
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("11 Item(s) Found"));

        // While the alternatives are listed, a double-click on one waits for the list to be complete.
        d.search(QStringLiteral("pacemaker lead"));
        {
            DuringReading meddle(2, [&] {
                QVERIFY(w.picDuplicates()->lstDuplicates()->count() >= 1);
                d.doubleClickDuplicate(0);
                WindowDriver::click(w.cmdSearch());
            });
            d.clickResult(0);
            QVERIFY(meddle.ran());
        }
        QCOMPARE(lastStatement(), lookup::detailsStatement(6));
        QVERIFY(inState(w, Area::ChoicePending));
        QCOMPARE(d.duplicates().size(), 3);
        // Refused quietly: no statement was even tried.
        QVERIFY(d.prompts().messages.isEmpty());
    }

    void closingTheWindowWhileRowsAreRead_data()
    {
        QTest::addColumn<int>("reading");
        QTest::addColumn<int>("pass"); // of the events serviced while reading
        QTest::newRow("keyword search") << 0 << 2;
        QTest::newRow("advanced search") << 1 << 3;
        QTest::newRow("alternatives") << 2 << 2;
        QTest::newRow("details") << 3 << 1;
        QTest::newRow("keyword search from Enter") << 4 << 3;
    }
    void closingTheWindowWhileRowsAreRead()
    {
        QFETCH(int, reading);
        QFETCH(int, pass);
        auto d = std::make_unique<WindowDriver>();
        if (reading >= 2)
            d->search(reading == 2 ? QStringLiteral("pacemaker lead") : QStringLiteral("crohn"));
        {
            DuringReading close(pass, [&] { d->destroyWindow(); });
            switch (reading) {
            case 0:
                d->search(QStringLiteral("bypass"));
                break;
            case 1:
                d->openAdvanced();
                d->tick(0, QStringLiteral("e"));
                d->find();
                break;
            case 4:
                d->typeAndRelease(QStringLiteral("bypass"), Qt::Key_Return);
                break;
            default:
                d->clickResult(0);
                break;
            }
            QVERIFY(close.ran());
        }
        QVERIFY(!d->windowExists());
        QVERIFY(!platform::db::sharedRecordset().isOpen());
        // A new window works on the same shared objects.
        WindowDriver again;
        again.search(QStringLiteral("bypass"));
        QCOMPARE(again.resultIds(), QStringList({"10", "1", "2"}));
    }

    void mouseOverListOrGridTakesTheFocus()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("bypass"));
        w.txtSearch()->setFocus();
        QTRY_VERIFY(w.txtSearch()->hasFocus());
        QTest::mouseMove(w.lstSearch()->viewport(), QPoint(20, 10));
        QTRY_VERIFY(w.lstSearch()->hasFocus());
        QTest::mouseMove(w.vbalGrid()->viewport(), QPoint(60, 60));
        QTRY_VERIFY(w.vbalGrid()->hasFocus());
    }

};

QTEST_MAIN(ProceduresWindowTest)
#include "tst_procedures_window.moc"
