// The frame from the keyboard alone, as a screen reader hears it: F10 to the
// ribbon, among its tabs and buttons, About pressed and closed with Escape
// or Ctrl+F4.

#include "ProcedureDatabase.h"
#include "ReaderEvents.h"
#include "app/BackdropMdiArea.h"
#include "app/frmAbout.h"
#include "app/frmMainForm.h"
#include "lookup/frmProcedures.h"
#include "platform/db/Database.h"
#include "ribbon/RibbonKeyboard.h"
#include "ribbon/TelvarRibbon.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using app::frmMainForm;

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { platform::db::releaseShared(); }

    void theRibbonFromTheKeyboardAndAboutsEscape()
    {
        QTemporaryDir folder;
        apptest::writeProcedureDatabase(folder.path(), 4);
        frmMainForm frame(folder.path());
        frame.MDIForm_Load();
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        TelvarRibbon *ribbon = frame.TelvarRibbon1();
        QLineEdit *searchBox = frame.procedures()->txtSearch();
        QCOMPARE(QApplication::focusWidget(), searchBox);
        const auto key = [](Qt::Key k) {
            QTest::keyClick(QApplication::focusWidget(), k);
            QCoreApplication::processEvents();
        };

        ReaderEvents reader;
        key(Qt::Key_F10);
        QVERIFY(ribbon->hasFocus());
        key(Qt::Key_Tab);
        key(Qt::Key_Right);
        key(Qt::Key_Tab);
        key(Qt::Key_Left);
        QCOMPARE(reader.focused().mid(1), (QStringList{"Procedures", "Show Procedures", "About", "Exit", "About"}));
        QVERIFY(ribbon->findChild<QWidget *>(QStringLiteral("RibbonFocusMark"))->isVisible());
        key(Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), searchBox);

        // Alt alone and F6 go there too; F6 comes back.
        QTest::keyPress(searchBox, Qt::Key_Alt);
        QTest::keyRelease(searchBox, Qt::Key_Alt);
        QCoreApplication::processEvents();
        QVERIFY(ribbon->hasFocus());
        key(Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), searchBox);
        QTest::keyClick(searchBox, Qt::Key_A, Qt::AltModifier);
        QVERIFY(!ribbon->hasFocus());

        // About, pressed with Enter: its text has the focus; Escape closes it.
        key(Qt::Key_F10);
        key(Qt::Key_Tab);
        key(Qt::Key_Tab);
        reader.clear();
        key(Qt::Key_Return);
        QVERIFY(frame.about());
        QCOMPARE(QApplication::focusWidget(), frame.about()->lblAbout());
        QVERIFY(reader.focused().last().startsWith(QStringLiteral("Vorimel - version")));
        key(Qt::Key_Escape);
        QTRY_VERIFY(!frame.aboutWindow());
        QCOMPARE(QApplication::focusWidget(), searchBox);
        QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.proceduresWindow());

        // Ctrl+F4 closes it too, as it closes the other child windows.
        for (Qt::Key k : {Qt::Key_F10, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return})
            key(k);
        QVERIFY(frame.about());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_VERIFY(!frame.aboutWindow());
        QCOMPARE(QApplication::focusWidget(), searchBox);
        // The search window stays: the desktop's close keys are no way to lose it.
        QTest::keyClick(searchBox, Qt::Key_F4, Qt::ControlModifier);
        QTest::keyClick(searchBox, Qt::Key_W, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QVERIFY(frame.proceduresWindow() && frame.proceduresWindow()->isVisible());
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_app_keyboard.moc"
