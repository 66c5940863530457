// The search window as a coder uses it all day: by keyboard, copying codes,
// on a large screen and through a screen reader.

#include "FixtureDatabase.h"
#include "WindowDriver.h"
#include "lookup/AdvancedPanel.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/SharedQuery.h"
#include "platform/db/Database.h"
#include "platform/grid/Grid.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using lookup::frmProcedures;

namespace {

// A title as long as the longest of a CMS release (163 characters), in the
// same style of words.
const QString LongTitle = QStringLiteral(
    "Bypass Thoracic Aorta, Descending to Lower Extremity Artery with Autologous Arterial Tissue, "
    "Percutaneous Endoscopic Approach, Bilateral Femoral Popliteal Segments");

QString clipboardText()
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

QAction *actionNamed(QWidget *w, const QString &text)
{
    for (QAction *action : w->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// The widgets the window lays out itself and that a user sees side by side.
QList<QWidget *> visibleControls(frmProcedures &w)
{
    return {w.lstSearch(), w.txtSearch(), w.cmdSearch(), w.Command1(), w.lblSearch(), w.vbalGrid()};
}

QStringList childNames(QAccessibleInterface *iface)
{
    QStringList names;
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface *child = iface->child(i))
            names << (child->object() ? child->object()->objectName() : QString()) + QLatin1Char('|')
                         + child->text(QAccessible::Name);
    }
    return names;
}

} // namespace

class WorkingDayTest : public fixture::SharedFixtureTest {
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(!lookup::SharedQuery::isRunning()); }

    void keyboardAloneFromSearchToAChosenIcd9Code()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.activate();
        w.focusSearchBox();
        QVERIFY(w.txtSearch()->hasFocus());

        QTest::keyClicks(w.txtSearch(), QStringLiteral("pacemaker"));
        WindowDriver::press(w.txtSearch(), Qt::Key_Return);
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("2 Item(s) Found"));
        QVERIFY(w.txtSearch()->hasFocus());

        // Tab: Search, Advanced Search, then the results.
        for (QWidget *next : {static_cast<QWidget *>(w.cmdSearch()), static_cast<QWidget *>(w.Command1()),
                              static_cast<QWidget *>(w.lstSearch())}) {
            WindowDriver::press(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }

        // The first arrow selects the first row, whose details show.
        WindowDriver::press(w.lstSearch(), Qt::Key_Down);
        QCOMPARE(w.lstSearch()->currentRow(), 0);
        QVERIFY(w.lstSearch()->hasSelection());
        QCOMPARE(d.gridValue(2), QStringLiteral("02HK3JZ"));
        QVERIFY(w.lstSearch()->hasFocus());

        // The next one has three ICD-9 codes: the choice takes the keyboard.
        WindowDriver::press(w.lstSearch(), Qt::Key_Down);
        QVERIFY(!w.picDuplicates()->isHidden());
        QListWidget *duplicates = w.picDuplicates()->lstDuplicates();
        QVERIFY(duplicates->hasFocus());
        // The keyboard starts on the first line, selected.
        QCOMPARE(duplicates->currentRow(), 0);
        QVERIFY(duplicates->currentItem()->isSelected());
        WindowDriver::press(duplicates, Qt::Key_Down);
        WindowDriver::press(duplicates, Qt::Key_Return);
        QVERIFY(w.picDuplicates()->isHidden());
        QVERIFY(!w.vbalGrid()->isHidden());
        QCOMPARE(d.gridValue(3), QStringLiteral("37.81"));
        QVERIFY(w.lstSearch()->isEnabled());

        // Home and End select and show like the arrows.
        WindowDriver::press(w.lstSearch(), Qt::Key_Home);
        QCOMPARE(d.gridValue(2), QStringLiteral("02HK3JZ"));
    }

    void enterGoingUpAfterAnsweringNoStartsNothing()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.activate();
        w.focusSearchBox();
        d.prompts().answer = false;
        WindowDriver::press(w.txtSearch(), Qt::Key_Return);
        QCOMPARE(d.prompts().questions.size(), 1);
        // The key went down on "No" in the question; only its release comes here.
        QTest::keyRelease(w.txtSearch(), Qt::Key_Return);
        WindowDriver::settle();
        QCOMPARE(d.prompts().questions.size(), 1);
        QVERIFY(w.lblSearch()->text().isEmpty());
        // A press that left the box before its release does not count either.
        QTest::keyPress(w.txtSearch(), Qt::Key_Return);
        QFocusEvent away(QEvent::FocusOut);
        QApplication::sendEvent(w.txtSearch(), &away);
        QTest::keyRelease(w.txtSearch(), Qt::Key_Return);
        QCOMPARE(d.prompts().questions.size(), 1);
    }

    void advancedPanelByKeyboard()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.activate();
        lookup::AdvancedPanel *panel = w.picAdvanced();
        WindowDriver::press(w.Command1(), Qt::Key_Space);
        QVERIFY(!panel->isHidden());
        QCOMPARE(QApplication::focusWidget(), panel->chkParam(0));

        // Tab: each row's tick and text, then the options, FIND, CANCEL.
        QList<QWidget *> expected;
        for (int i = 0; i < lookup::AdvancedPanel::ParamCount; ++i)
            expected << panel->chkParam(i) << panel->txtParam(i);
        QWidget *at = panel->chkParam(0);
        for (int i = 1; i < expected.size(); ++i) {
            at = at->nextInFocusChain();
            QCOMPARE(at, expected.at(i));
        }
        QWidget *afterRows = panel->txtParam(10)->nextInFocusChain();
        QCOMPARE(afterRows, panel->optParamSettings(0));
        QCOMPARE(panel->optParamConcat(1)->nextInFocusChain(), panel->cmdAdvancedSearch());
        QCOMPARE(panel->cmdAdvancedSearch()->nextInFocusChain(), panel->cmdAdvancedCancel());

        // Escape is CANCEL and gives the keyboard back to the button that opened it.
        WindowDriver::press(panel->txtParam(3), Qt::Key_Escape);
        QVERIFY(panel->isHidden());
        QCOMPARE(QApplication::focusWidget(), w.Command1());

        // Enter in a row's text is FIND.
        d.openAdvanced();
        d.tick(1, QStringLiteral("02"));
        panel->txtParam(1)->setFocus();
        WindowDriver::press(panel->txtParam(1), Qt::Key_Return);
        QVERIFY(panel->isHidden());
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("5 Item(s) Found"));
        QCOMPARE(QApplication::focusWidget(), w.lstSearch());
        QVERIFY(d.prompts().messages.isEmpty());
    }

    void clickOnTheSelectedRowAfterTheGridWasEmptied()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.search(QStringLiteral("pacemaker lead"));
        d.clickResult(0);
        QVERIFY(!w.picDuplicates()->isHidden());
        // The advanced search covers the pending choice and empties the grid.
        d.openAdvanced();
        d.click(w.picAdvanced()->cmdAdvancedCancel());
        QVERIFY(w.picDuplicates()->isHidden());
        QVERIFY(d.gridValue(2).isEmpty());
        d.clickResult(0);
        QVERIFY(!w.picDuplicates()->isHidden());
        QCOMPARE(d.duplicates().size(), 3);

        // A click on a row whose details show reads nothing again.
        d.doubleClickDuplicate(0);
        const QString statement = platform::db::sharedCommand().commandText();
        d.clickResult(0);
        QCOMPARE(platform::db::sharedCommand().commandText(), statement);
    }

    void keysTypedWhileDetailsAreReadReachTheListAfterwards()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.activate();
        d.search(QStringLiteral("two arteries"));
        w.lstSearch()->setFocus();
        QString focusDuring;
        DuringReading typing(1, [&] {
            QWidget *focus = QApplication::focusWidget();
            focusDuring = focus ? focus->objectName() : QString();
            QTest::keyClicks(focus ? focus : &w, QStringLiteral("xyz"));
            QTest::keyClick(focus ? focus : &w, Qt::Key_Up);
        });
        WindowDriver::press(w.lstSearch(), Qt::Key_Down);
        QVERIFY(typing.ran());
        QCOMPARE(focusDuring, QStringLiteral("lstSearch"));
        QCOMPARE(w.txtSearch()->text(), QStringLiteral("two arteries"));
        QVERIFY(d.prompts().questions.isEmpty());
        QCOMPARE(w.lblSearch()->text(), QStringLiteral("1 Item(s) Found"));
        QVERIFY(w.lstSearch()->hasFocus());
        QCOMPARE(w.lstSearch()->currentRow(), 0);
    }

    void copyFromEachListAndTheGrid()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.activate();
        QGuiApplication::clipboard()->clear();
        d.search(QStringLiteral("pacemaker"));
        d.clickResult(0);
        WindowDriver::press(w.lstSearch(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("Insertion of Pacemaker into Heart, Percutaneous"));
        QCOMPARE(actionNamed(w.lstSearch(), QStringLiteral("Copy"))->shortcut(), QKeySequence(QKeySequence::Copy));

        // The grid: the selected value, by key and by its context menu.
        w.vbalGrid()->setFocus();
        w.vbalGrid()->selectRow(lookup::CodeRow - 1);
        WindowDriver::press(w.vbalGrid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("02HK3JZ"));
        w.vbalGrid()->selectRow(0);
        actionNamed(w.vbalGrid(), QStringLiteral("Copy"))->trigger();
        QCOMPARE(clipboardText(), QStringLiteral("Insertion of Pacemaker into Heart, Percutaneous"));
        actionNamed(w.vbalGrid(), QStringLiteral("Copy ICD-9 code"))->trigger();
        QCOMPARE(clipboardText(), QStringLiteral("37.70"));
        actionNamed(w.vbalGrid(), QStringLiteral("Copy ICD-10 code"))->trigger();
        QCOMPARE(clipboardText(), QStringLiteral("02HK3JZ"));
        actionNamed(w.vbalGrid(), QStringLiteral("Copy all"))->trigger();
        const QStringList lines = clipboardText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), lookup::DetailsRowCount);
        QCOMPARE(lines.at(0), QStringLiteral("Procedure Name\tInsertion of Pacemaker into Heart, Percutaneous"));
        QCOMPARE(lines.at(1), QStringLiteral("ICD 10 - PCS Code\t02HK3JZ"));
        QCOMPARE(lines.at(2), QStringLiteral("ICD 9 - PCS Code\t37.70"));
        QVERIFY(lines.at(4).startsWith(QStringLiteral("Code Char 1\t")));
        QCOMPARE(w.vbalGrid()->contextMenuPolicy(), Qt::ActionsContextMenu);

        // The duplicates list: the line.
        d.clickResult(1);
        QListWidget *duplicates = w.picDuplicates()->lstDuplicates();
        duplicates->setCurrentRow(2);
        WindowDriver::press(duplicates, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), d.duplicates().at(2));
        QVERIFY(clipboardText().startsWith(QStringLiteral("02H63JZ - 37.82 - ")));
    }

    void growsIntoALargerWindow_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1280 x 1024 screen") << QSize(1270, 880);
        QTest::newRow("1920 x 1080 screen") << QSize(1910, 930);
    }
    void growsIntoALargerWindow()
    {
        QFETCH(QSize, size);
        WindowDriver d;
        frmProcedures &w = d.window();
        w.lstSearch()->addItem(LongTitle);
        w.resize(size);
        QCOMPARE(w.size(), size);

        const QList<QWidget *> controls = visibleControls(w);
        for (QWidget *control : controls) {
            QVERIFY2(w.rect().contains(control->geometry()), qPrintable(control->objectName()));
            for (QWidget *other : controls) {
                if (other != control)
                    QVERIFY2(!control->geometry().intersects(other->geometry()),
                             qPrintable(control->objectName() + " overlaps " + other->objectName()));
            }
        }
        // The search controls keep their distance from the right edge.
        QCOMPARE(w.width() - w.txtSearch()->geometry().right(), 740 - QRect(584, 8, 145, 25).right());
        // The list and the grid share the height, the list at least a third of what was added.
        const int added = w.height() - 469;
        QVERIFY(w.lstSearch()->height() - 108 >= added / 3);
        QCOMPARE(w.picAdvanced()->geometry(), w.vbalGrid()->geometry());
        QCOMPARE(w.picDuplicates()->geometry(), w.vbalGrid()->geometry());
        QVERIFY(w.vbalGrid()->geometry().bottom() < w.height());
        // A whole long title in one row, without scrolling sideways.
        const QStyleOptionViewItem option = [&] {
            QStyleOptionViewItem o;
            o.initFrom(w.lstSearch());
            o.font = w.lstSearch()->font();
            return o;
        }();
        const int titleWidth =
            w.lstSearch()->itemDelegate()->sizeHint(option, w.lstSearch()->model()->index(0, 0)).width();
        QVERIFY2(titleWidth <= w.lstSearch()->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(titleWidth).arg(w.lstSearch()->viewport()->width())));
        // The panels' contents grow in width (laid out when they are shown).
        w.picAdvanced()->show();
        w.picDuplicates()->show();
        QVERIFY(w.picAdvanced()->txtParam(0)->width() > 177);
        QVERIFY(w.picAdvanced()->optParamSettings(0)->x() > w.picAdvanced()->txtParam(0)->geometry().right());
        QVERIFY(w.picDuplicates()->lstDuplicates()->width() > 673);

        // Back at the design size, every control is at its design position.
        w.resize(w.minimumSize());
        QCOMPARE(w.size(), QSize(740, 469));
        QCOMPARE(w.lstSearch()->geometry(), QRect(8, 8, 569, 108));
        QCOMPARE(w.txtSearch()->geometry(), QRect(584, 8, 145, 25));
        QCOMPARE(w.vbalGrid()->geometry(), QRect(8, 120, 721, 337));
        QCOMPARE(w.picAdvanced()->txtParam(0)->geometry(), QRect(136, 16, 177, 19));
        QCOMPARE(w.picDuplicates()->lstDuplicates()->geometry(), QRect(24, 88, 673, 225));
    }

    void preferredSizeFitsALongTitleAndTwentyRows()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        const QSize preferred = w.preferredSize();
        QVERIFY(preferred.width() >= w.minimumWidth() && preferred.height() >= w.minimumHeight());
        for (int i = 0; i < 30; ++i)
            w.lstSearch()->addItem(i == 0 ? LongTitle : QStringLiteral("Row %1").arg(i));
        w.resize(preferred);
        QVERIFY(w.lstSearch()->viewport()->width()
                >= QFontMetrics(w.lstSearch()->font()).horizontalAdvance(LongTitle));
        QVERIFY(w.lstSearch()->viewport()->height() >= 20 * w.lstSearch()->sizeHintForRow(0));
    }

    void screenReadersGetNamesAndRoles()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&w);
        QVERIFY(window);
        const QStringList children = childNames(window);
        // The hidden twin of the result list is not there.
        QVERIFY(!children.join(QLatin1Char(' ')).contains(QStringLiteral("lstSearchID")));
        QVERIFY(children.contains(QStringLiteral("lstSearch|Search results")));
        QVERIFY(children.contains(QStringLiteral("txtSearch|Search text")));
        QVERIFY(children.contains(QStringLiteral("cmdSearch|Search")));
        QVERIFY(children.contains(QStringLiteral("Command1|Advanced Search")));
        for (int i = 0; i < window->childCount(); ++i)
            QVERIFY2(!window->child(i)->text(QAccessible::Name).isEmpty() || window->child(i)->role() == QAccessible::StaticText
                         || window->child(i)->object() == w.lblSearch(),
                     qPrintable(children.at(i)));
        // The count says itself; it has nothing to say, and is not shown, before a search.
        QCOMPARE(QAccessible::queryAccessibleInterface(w.lblSearch())->role(), QAccessible::Notification);
        QVERIFY(w.lblSearch()->isHidden());

        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(w.lstSearch());
        QCOMPARE(list->role(), QAccessible::List);
        QAccessibleInterface *duplicates = QAccessible::queryAccessibleInterface(w.picDuplicates());
        QCOMPARE(duplicates->childCount(), 2); // the message and the list, not its two twins
        QCOMPARE(QAccessible::queryAccessibleInterface(w.picDuplicates()->lstDuplicates())->text(QAccessible::Name),
                 QStringLiteral("ICD-9 alternatives"));

        // Advanced rows are named by their captions.
        lookup::AdvancedPanel *panel = w.picAdvanced();
        QAccessibleInterface *tick = QAccessible::queryAccessibleInterface(panel->chkParam(2));
        QCOMPARE(tick->role(), QAccessible::CheckBox);
        QCOMPARE(tick->text(QAccessible::Name), QStringLiteral("PCS 9 Code"));
        QCOMPARE(QAccessible::queryAccessibleInterface(panel->txtParam(10))->text(QAccessible::Name),
                 QStringLiteral("Character 7"));
        QCOMPARE(QAccessible::queryAccessibleInterface(panel->optParamConcat(1))->text(QAccessible::Name),
                 QStringLiteral("Any Keyword"));

        // A row reads as its caption and its value, each once (a reader
        // reads the whole row as the keyboard moves up or down).
        d.search(QStringLiteral("pacemaker"));
        d.clickResult(0);
        QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(w.vbalGrid());
        QCOMPARE(grid->text(QAccessible::Name), QStringLiteral("Procedure details"));
        QAccessibleTableInterface *table = grid->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), lookup::DetailsRowCount);
        QCOMPARE(table->cellAt(lookup::CodeRow - 1, lookup::ValueColumn - 1)->text(QAccessible::Name),
                 QStringLiteral("02HK3JZ"));
        QCOMPARE(table->cellAt(lookup::CodeRow - 1, lookup::IconColumn - 1)->text(QAccessible::Name), QString());
        QCOMPARE(table->cellAt(0, lookup::CaptionColumn - 1)->text(QAccessible::Name),
                 QStringLiteral("Procedure Name"));
    }

};

QTEST_MAIN(WorkingDayTest)
#include "tst_working_day.moc"
