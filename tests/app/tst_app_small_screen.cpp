// The frame on a screen smaller than its design size: 1920x1080 at 200 %, a
// 960x540 logical screen. The frame must fit, and every part of the search
// window must be within reach of the scroll bars.

#include "ProcedureDatabase.h"

#include "app/BackdropMdiArea.h"
#include "app/ErrorReportingApplication.h"
#include "app/frmMainForm.h"
#include "lookup/frmProcedures.h"
#include "platform/db/Database.h"

#include <QFile>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using app::frmMainForm;

class SmallScreenTest : public QObject {
    Q_OBJECT

private slots:
    void theWholeSearchWindowIsWithinReach();
};

void SmallScreenTest::theWholeSearchWindowIsWithinReach()
{
    QTemporaryDir folder;
    apptest::writeProcedureDatabase(folder.path(), 40);
    {
        frmMainForm frame(folder.path());
        frame.MDIForm_Load();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.openAtPreferredSize();
        const QRect available = frame.screen()->availableGeometry();
        QCOMPARE(available.size(), QSize(960, 540));
        QVERIFY2(frame.minimumSize().height() <= available.height()
                     && frame.minimumSize().width() <= available.width(),
                 qPrintable(QStringLiteral("minimum %1x%2").arg(frame.minimumWidth()).arg(frame.minimumHeight())));
        const QSize outer = frame.frameGeometry().size();
        QVERIFY2(outer.width() <= available.width() && outer.height() <= available.height(),
                 qPrintable(QStringLiteral("the frame is %1x%2").arg(outer.width()).arg(outer.height())));

        // At its smallest the frame cuts nothing off: the area scrolls to
        // the search window's far corner.
        frame.resize(frame.minimumSize());
        QCoreApplication::processEvents();
        app::BackdropMdiArea *area = frame.mdiArea();
        lookup::frmProcedures *procedures = frame.procedures();
        QVERIFY(procedures->height() > area->viewport()->height());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        QCoreApplication::processEvents();
        const QRect searchWindow(procedures->mapTo(area->viewport(), QPoint()), procedures->size());
        QVERIFY2(area->viewport()->rect().contains(searchWindow.bottomRight()),
                 qPrintable(QStringLiteral("the search window ends at %1,%2, the area at %3,%4")
                                .arg(searchWindow.right())
                                .arg(searchWindow.bottom())
                                .arg(area->viewport()->width())
                                .arg(area->viewport()->height())));
        frame.MDIForm_Unload();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::db::releaseShared();
}

int main(int argc, char **argv)
{
    // A 1920x1080 screen at 200 %: the offscreen platform reads its screens
    // from a file of this form.
    QTemporaryDir config;
    const QString screens = config.filePath(QStringLiteral("screens.json"));
    QFile file(screens);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1920, "height": 1080,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens));
    qputenv("QT_SCALE_FACTOR", "2");
    app::ErrorReportingApplication application(argc, argv);
    SmallScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_small_screen.moc"
