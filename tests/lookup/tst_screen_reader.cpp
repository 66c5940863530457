// What a screen reader is told while the search window is used from the
// keyboard: a reading of details moves nothing, a search ends with its count
// spoken, the grid lets Tab go, the alternatives speak for themselves.

#include "FixtureDatabase.h"
#include "ReaderEvents.h"
#include "WindowDriver.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/SharedQuery.h"
#include "platform/grid/Grid.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using lookup::frmProcedures;

class ScreenReaderTest : public fixture::SharedFixtureTest {
    Q_OBJECT

private slots:
    // The list keeps the focus and its state through every reading; keys
    // typed meanwhile reach it afterwards; a slow reading looks like one
    // without telling the reader.
    void aReadingMovesNothing()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.activate();
        d.search(QStringLiteral("bypass"));
        w.lstSearch()->setFocus();
        const QStringList titles = d.results();
        QCOMPARE(titles.size(), 3);

        ReaderEvents reader;
        bool lookedBusy = false;
        DuringReading slowAndTyping(1, [&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::qWait(2 * 100);
            lookedBusy = w.vbalGrid()->isHidden() && w.lblWait(0)->isVisible()
                         && w.lstSearch()->palette().color(QPalette::Active, QPalette::Text)
                                == w.lstSearch()->palette().color(QPalette::Disabled, QPalette::Text);
            QVERIFY(w.lstSearch()->isEnabled() && w.lstSearch()->hasFocus());
        });
        WindowDriver::press(w.lstSearch(), Qt::Key_Down);
        QVERIFY(slowAndTyping.ran());
        QVERIFY(lookedBusy);

        // The Down typed during the first reading is delivered after it.
        QTRY_COMPARE(w.lstSearch()->currentRow(), 1);
        WindowDriver::settle();
        QCOMPARE(d.gridValue(1), d.results().at(1));
        QVERIFY(!w.vbalGrid()->isHidden() && !w.lblWait(0)->isVisible());
        QVERIFY(w.lstSearch()->hasFocus());
        QCOMPARE(reader.stateChangesOf(w.lstSearch()), 0);
        for (const ReaderEvents::Event &e : reader.events())
            if (e.type == QAccessible::Focus)
                QCOMPARE(e.object.data(), w.lstSearch());
        QCOMPARE(reader.focused(), titles.mid(0, 2));
    }

    void theCountIsSpokenWhenASearchEnds()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        ReaderEvents reader;
        d.search(QStringLiteral("bypass"));
        d.search(QStringLiteral("bypass coronary"));
        QCOMPARE(reader.notifications(), (QStringList{"3 Item(s) Found", "2 Item(s) Found"}));
        QCOMPARE(w.lstSearch()->accessibleDescription(), QStringLiteral("2 Item(s) Found"));
        // The wait caption is gone from the screen once the results are back.
        QVERIFY(!w.lblWait(1)->isVisible() && !w.lblWait(0)->isVisible());
    }

    void tabLeavesTheGrid()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.activate();
        d.search(QStringLiteral("bypass"));
        d.clickResult(0);
        w.lstSearch()->setFocus();
        ReaderEvents reader;
        WindowDriver::press(w.lstSearch(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.vbalGrid());
        // Entering speaks the first value with its label, once.
        QCOMPARE(w.vbalGrid()->currentColumn(), lookup::ValueColumn - 1);
        WindowDriver::press(w.vbalGrid(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.txtSearch());
        w.vbalGrid()->setFocus();
        WindowDriver::press(w.vbalGrid(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), w.lstSearch());
    }

    void theAlternativesSpeakForThemselves()
    {
        WindowDriver d;
        frmProcedures &w = d.window();
        d.activate();
        d.search(QStringLiteral("pacemaker lead"));
        w.lstSearch()->setFocus();
        ReaderEvents reader;
        WindowDriver::press(w.lstSearch(), Qt::Key_Down);
        QListWidget *alternatives = w.picDuplicates()->lstDuplicates();
        // The focus is in the alternatives, on the first, before the list is disabled.
        QCOMPARE(QApplication::focusWidget(), alternatives);
        QVERIFY(!w.lstSearch()->isEnabled());
        QCOMPARE(alternatives->accessibleDescription(), w.picDuplicates()->lblDuplicates()->text());
        QCOMPARE(reader.focused().last(), d.duplicates().at(0));
        // The result the focus came from is named with them.
        QCOMPARE(alternatives->accessibleName(), QStringLiteral("ICD-9 alternatives for ") + d.results().at(0));

        reader.clear();
        WindowDriver::press(alternatives, Qt::Key_Down);
        WindowDriver::press(alternatives, Qt::Key_Return);
        QVERIFY(w.picDuplicates()->isHidden() && w.lstSearch()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), w.vbalGrid());
        QVERIFY(reader.focused().contains(QStringLiteral("37.81")));
    }

};

QTEST_MAIN(ScreenReaderTest)
#include "tst_screen_reader.moc"
