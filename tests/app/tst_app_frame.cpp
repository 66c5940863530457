// The frame window on real fixture databases: what loading opens and fills, the
// commands by ID, the window menu, the end of the program (also in the middle of
// a search), and the error box that a failing start or handler leads to.

#include "ProcedureDatabase.h"

#include "app/BackdropMdiArea.h"
#include "app/ErrorReportingApplication.h"
#include "app/ProgramArt.h"
#include "app/frmAbout.h"
#include "app/frmMainForm.h"
#include "lookup/frmProcedures.h"
#include "platform/db/Database.h"
#include "ribbon/RibbonParts.h"
#include "ribbon/TelvarRibbon.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <utility>

using app::frmMainForm;

namespace {

app::ErrorReportingApplication *application()
{
    return static_cast<app::ErrorReportingApplication *>(QCoreApplication::instance());
}

void deleteDeferred()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A widget whose event handler fails the way a handler of the program can.
class FailingWidget : public QWidget {
protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw platform::AppError(3021, QStringLiteral("test"), QStringLiteral("No current record."));
        if (event->type() == QEvent::User + 1)
            throw std::runtime_error("index out of range");
        return QWidget::event(event);
    }
};

} // namespace

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadOpensTheDatabaseThenFillsTheRibbonThenOpensTheSearchWindow();
    void commandZeroKeepsOneSearchWindowAndMaximisesItAgain();
    void commandTwoOpensAboutMaximisedOverTheSearchWindow();
    void commandsByNumberIgnoreOthersAndRefuseText();
    void theRibbonsButtonsRunTheCommands();
    void windowMenuIsGoneAndTheUserCannotClose();
    void exitClosesTheDatabaseAndTheChildWindows();
    void exitWhileASearchReadsItsRows();
    void missingOrDamagedDatabaseEndsWithNumberAndFileName_data();
    void missingOrDamagedDatabaseEndsWithNumberAndFileName();
    void anErrorEscapingAHandlerIsShownOnceAndEndsWithStatusOne();
    void aFolderWithConnectionStringCharactersStillOpensItsDatabase();
    void opensAsLargeAsTheScreenAllowsWithTheKeyboardInTheSearchBox();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString database_;
    QList<platform::AppError> shown_;
};

void FrameTest::opensAsLargeAsTheScreenAllowsWithTheKeyboardInTheSearchBox()
{
    frmMainForm frame(folder_->path());
    frame.MDIForm_Load();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QSize design(744, 584);
    const QSize least = frame.size();
    QVERIFY(least.width() >= design.width() && least.height() >= design.height());
    frame.openAtPreferredSize();
    // Never below the design size where the screen has room for it, never beyond the screen.
    const QRect available = frame.screen()->availableGeometry();
    QVERIFY(frame.minimumSize().width() >= std::min(design.width(), available.width())
            && frame.minimumSize().height() >= std::min(design.height(), available.height()));
    QVERIFY(frame.width() >= design.width() && frame.height() >= design.height());
    QVERIFY(frame.width() <= available.width() && frame.height() <= available.height());
    QVERIFY(available.contains(frame.geometry()));
    lookup::frmProcedures *procedures = frame.procedures();
    const QSize wanted = procedures->preferredSize();
    // As large as the search window wants where the screen has the room.
    if (wanted.width() + 4 <= available.width())
        QVERIFY(procedures->width() >= wanted.width());
    else
        QVERIFY(frame.width() >= available.width() - 8);
    frame.resize(300, 200);
    QCOMPARE(frame.size(), least);

    // The keyboard goes to the search box at start and when the window comes back.
    QCOMPARE(procedures->focusWidget(), procedures->txtSearch());
    frame.PressMenuButton(frmMainForm::CmdShowAbout);
    frame.PressMenuButton(frmMainForm::CmdShowProcedures);
    QCOMPARE(procedures->focusWidget(), procedures->txtSearch());
}

void FrameTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    database_ = apptest::writeProcedureDatabase(folder_->path(), 40);
    shown_.clear();
    application()->setErrorPresenter([this](const platform::AppError &error) { shown_.append(error); });
}

void FrameTest::cleanup()
{
    deleteDeferred();
    platform::db::releaseShared();
}

void FrameTest::loadOpensTheDatabaseThenFillsTheRibbonThenOpensTheSearchWindow()
{
    frmMainForm frame(folder_->path());
    QCOMPARE(frame.windowTitle(), QStringLiteral("Vorimel"));
    QVERIFY(!frame.windowIcon().isNull());
    QCOMPARE(frame.windowIcon().availableSizes().size(), 4);
    frame.MDIForm_Load();

    const auto &connection = platform::db::sharedConnection();
    QCOMPARE(connection.connectionString(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                                + folder_->path() + QStringLiteral("\\pcs.mdb;Mode=Read"));
    QCOMPARE(connection.cursorLocation(), int(platform::db::adUseClient));
    QVERIFY(connection.isOpen());

    // The frame ribbon's content (its captions, layout and names are the
    // ribbon tests' and the keyboard test's), with the program's pictures.
    const ribbon::RibbonModel &model = frame.TelvarRibbon1()->model();
    QCOMPARE(frame.TelvarRibbon1()->Theme(), qint16(0));
    QCOMPARE(model.TabCount(), qint16(1));
    QCOMPARE(model.CatCount(), qint16(3));
    QCOMPARE(model.ButCount(), qint16(3));
    const std::pair<const char *, int> buttons[] = {{"0", 1}, {"3", 7}, {"2", 6}}; // id, picture
    const platform::ImageList pictures = app::buttonPictures();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(model.button(i).id, QLatin1String(buttons[i].first));
        QCOMPARE(model.button(i).picture.toImage(), pictures.picture(buttons[i].second).toImage());
    }
    QVERIFY(!model.ButtonCenterFlag());

    // The frame takes the theme's background for itself and for its child.
    QVERIFY(!frame.mdiArea()->backdrop().picture.isNull());
    QCOMPARE(frame.mdiArea()->backdrop().colour, ribbon::colorFromValue(frame.TelvarRibbon1()->BackColor()));

    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QVERIFY(frame.procedures());
    QVERIFY(frame.proceduresWindow()->isMaximized());
    QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.proceduresWindow());
    QCOMPARE(frame.proceduresWindow()->windowTitle(), QStringLiteral("Procedures"));
}

void FrameTest::commandZeroKeepsOneSearchWindowAndMaximisesItAgain()
{
    frmMainForm frame(folder_->path());
    frame.MDIForm_Load();
    frame.show();
    QPointer<lookup::frmProcedures> first = frame.procedures();
    frame.proceduresWindow()->showNormal();
    QVERIFY(!frame.proceduresWindow()->isMaximized());

    frame.PressMenuButton(frmMainForm::CmdShowProcedures);
    QCOMPARE(frame.procedures(), first.data());
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QVERIFY(frame.proceduresWindow()->isMaximized());

    // Closed by its own title bar, it is loaded afresh by the next command 0.
    frame.proceduresWindow()->close();
    deleteDeferred();
    QVERIFY(!first);
    frame.PressMenuButton(frmMainForm::CmdShowProcedures);
    QVERIFY(frame.procedures());
    QVERIFY(frame.proceduresWindow()->isMaximized());
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
}

void FrameTest::commandTwoOpensAboutMaximisedOverTheSearchWindow()
{
    frmMainForm frame(folder_->path());
    frame.MDIForm_Load();
    frame.show();
    frame.PressMenuButton(frmMainForm::CmdShowAbout);
    QVERIFY(frame.about());
    QVERIFY(frame.aboutWindow()->isMaximized());
    QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.aboutWindow());
    QCOMPARE(frame.aboutWindow()->windowTitle(), QStringLiteral("About"));
    QCOMPARE(frame.about()->backdrop().picture.toImage(), frame.mdiArea()->backdrop().picture.toImage());
    QCOMPARE(frame.about()->backdrop().colour, frame.mdiArea()->backdrop().colour);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 2);

    // A reader passes over the area (a filler, not a layered pane it would
    // name) to the two child windows it holds.
    QAccessibleInterface *area = QAccessible::queryAccessibleInterface(frame.mdiArea());
    QCOMPARE(area->role(), QAccessible::Client);
    QCOMPARE(area->childCount(), 2);
    QCOMPARE(area->child(1)->object(), frame.aboutWindow());
    QCOMPARE(area->indexOfChild(area->child(1)), 1);

    // Again with the search window in front: still the one About window.
    app::frmAbout *about = frame.about();
    frame.PressMenuButton(frmMainForm::CmdShowProcedures);
    QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.proceduresWindow());
    frame.TelvarRibbon1_ButtonClick(QStringLiteral("2"), QStringLiteral("About"));
    QCOMPARE(frame.about(), about);
    QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.aboutWindow());
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 2);
}

void FrameTest::commandsByNumberIgnoreOthersAndRefuseText()
{
    frmMainForm frame(folder_->path());
    frame.MDIForm_Load();
    QSignalSpy ended(&frame, &frmMainForm::programEnded);

    for (const qint32 other : {1, -1, 4, 30000}) {
        frame.PressMenuButton(other);
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    }
    // As numbers, " 2 " and "2.0" are command 2.
    frame.TelvarRibbon1_ButtonClick(QStringLiteral(" 2.0 "), QString());
    QVERIFY(frame.about());

    for (const QString &text : {QStringLiteral("About"), QString(), QStringLiteral("2x"), QStringLiteral("nan")}) {
        try {
            frame.TelvarRibbon1_ButtonClick(text, QString());
            QFAIL(qPrintable(QStringLiteral("no error for \"%1\"").arg(text)));
        } catch (const platform::AppError &error) {
            QCOMPARE(error.number(), frmMainForm::ErrTypeMismatch);
        }
    }
    QCOMPARE(ended.count(), 0);
    QVERIFY(platform::db::sharedConnection().isOpen());
}

void FrameTest::theRibbonsButtonsRunTheCommands()
{
    frmMainForm frame(folder_->path());
    frame.MDIForm_Load();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const ribbon::RibbonParts &parts = frame.TelvarRibbon1()->parts();
    auto buttonWithId = [&](const QString &id) -> QWidget * {
        for (int i = 1; i <= parts.ButMouse.UBound(); ++i)
            if (parts.ButMouse(i) && parts.ButMouse(i)->Tag() == id)
                return parts.ButMouse(i);
        return nullptr;
    };
    QWidget *about = buttonWithId(QStringLiteral("2"));
    QVERIFY(about);
    QTest::mouseClick(about, Qt::LeftButton, {}, about->rect().center());
    QVERIFY(frame.about());
    QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.aboutWindow());

    QSignalSpy ended(&frame, &frmMainForm::programEnded);
    QWidget *exit = buttonWithId(QStringLiteral("3"));
    QVERIFY(exit);
    QTest::mouseClick(exit, Qt::LeftButton, {}, exit->rect().center());
    QCOMPARE(ended.count(), 1);
}

void FrameTest::windowMenuIsGoneAndTheUserCannotClose()
{
    frmMainForm frame(folder_->path());
    QVERIFY(frame.close()); // before loading, nothing holds the window open
    frame.MDIForm_Load();
    const Qt::WindowFlags flags = frame.windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));

    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QSignalSpy ended(&frame, &frmMainForm::programEnded);
    QVERIFY(!frame.close());
    QCloseEvent fromTitleBar; // as the window system delivers it
    QCoreApplication::sendEvent(frame.windowHandle(), &fromTitleBar);
    QVERIFY(!fromTitleBar.isAccepted());
    QVERIFY(frame.isVisible());
    QCOMPARE(ended.count(), 0);
    QVERIFY(platform::db::sharedConnection().isOpen());
}

void FrameTest::exitClosesTheDatabaseAndTheChildWindows()
{
    frmMainForm frame(folder_->path());
    frame.MDIForm_Load();
    frame.show();
    frame.PressMenuButton(frmMainForm::CmdShowAbout);
    QPointer<QMdiSubWindow> search = frame.proceduresWindow();
    QPointer<QMdiSubWindow> about = frame.aboutWindow();
    QSignalSpy ended(&frame, &frmMainForm::programEnded);

    frame.PressMenuButton(frmMainForm::CmdExit);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 0);
    QVERIFY(frame.hasEnded());
    QVERIFY(!platform::db::sharedConnection().isOpen());
    QVERIFY(!frame.isVisible());
    deleteDeferred();
    QVERIFY(!search);
    QVERIFY(!about);

    // A second Exit, or a command after the end, does nothing more.
    frame.PressMenuButton(frmMainForm::CmdExit);
    frame.PressMenuButton(frmMainForm::CmdShowProcedures);
    QCOMPARE(ended.count(), 1);
    QVERIFY(frame.mdiArea()->subWindowList().isEmpty());
    QVERIFY(frame.close());
}

void FrameTest::exitWhileASearchReadsItsRows()
{
    const int rows = 3000;
    QTemporaryDir large;
    apptest::writeProcedureDatabase(large.path(), rows);
    frmMainForm frame(large.path());
    frame.MDIForm_Load();
    frame.show();
    QPointer<lookup::frmProcedures> search = frame.procedures();
    search->txtSearch()->setText(QStringLiteral("Procedure"));
    QSignalSpy ended(&frame, &frmMainForm::programEnded);

    // Exit arrives while the search services events between its rows.
    int rowsWhenExitArrived = -1;
    QTimer whileReading;
    whileReading.setInterval(0);
    connect(&whileReading, &QTimer::timeout, &frame, [&] {
        if (rowsWhenExitArrived < 0 && search && search->lstSearch()->count() >= 100) {
            rowsWhenExitArrived = search->lstSearch()->count();
            frame.PressMenuButton(frmMainForm::CmdExit);
        }
    });
    whileReading.start();
    QTest::mouseClick(search->cmdSearch(), Qt::LeftButton);
    whileReading.stop();

    QVERIFY2(rowsWhenExitArrived >= 100 && rowsWhenExitArrived < rows,
             qPrintable(QStringLiteral("exit came after %1 rows").arg(rowsWhenExitArrived)));
    QCOMPARE(ended.count(), 1);
    QVERIFY(!platform::db::sharedConnection().isOpen());
    deleteDeferred();
    QVERIFY(!search);
    QVERIFY(shown_.isEmpty());
}

void FrameTest::missingOrDamagedDatabaseEndsWithNumberAndFileName_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("opening"); // %1: the folder
    QTest::newRow("missing") << false << int(platform::db::ErrFileNotFound)
                             << QStringLiteral("Could not find file '%1/pcs.mdb'.");
    QTest::newRow("damaged") << true << int(platform::db::ErrDamagedFile)
                             << QStringLiteral("The database file '%1/pcs.mdb' is not a Jet database");
}

void FrameTest::missingOrDamagedDatabaseEndsWithNumberAndFileName()
{
    QFETCH(bool, damaged);
    QFETCH(int, number);
    QFETCH(QString, opening);
    QTemporaryDir folder;
    if (damaged)
        apptest::writeDamagedDatabase(folder.path());

    // Loading stops at the database: nothing of the ribbon, the window menu
    // or the children has happened yet.
    frmMainForm frame(folder.path());
    try {
        frame.MDIForm_Load();
        QFAIL("the load went through");
    } catch (const platform::AppError &error) {
        QCOMPARE(error.number(), number);
        // The file named as this system writes paths; a missing one with what to do.
        const QString description = error.description();
        QVERIFY2(description.startsWith(opening.arg(folder.path())), qPrintable(description));
        QVERIFY2(!description.contains(u'\\'), qPrintable(description));
        if (!damaged) {
            QVERIFY(description.contains(QStringLiteral("folder, ") + folder.path()));
            QVERIFY(description.contains(QStringLiteral("vorimel-pcsdb")));
        }
    }
    QCOMPARE(frame.TelvarRibbon1()->model().TabCount(), qint16(0));
    QVERIFY(frame.mdiArea()->subWindowList().isEmpty());
    QVERIFY(!frame.windowFlags().testFlag(Qt::CustomizeWindowHint));

    QVERIFY(shown_.isEmpty()); // thrown to the caller, not shown here
}

void FrameTest::anErrorEscapingAHandlerIsShownOnceAndEndsWithStatusOne()
{
    FailingWidget widget;
    QSignalSpy fatal(application(), &app::ErrorReportingApplication::fatalErrorReported);
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&widget, &first);
    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_.at(0).number(), 3021);
    QCOMPARE(shown_.at(0).description(), QStringLiteral("No current record."));
    QCOMPARE(fatal.count(), 1);
    const QString text = app::ErrorReportingApplication::messageText(shown_.at(0));
    QVERIFY(text.contains(QStringLiteral("3021")) && text.contains(QStringLiteral("No current record.")));

    // A second error while the program ends is not shown again.
    QEvent second(QEvent::Type(QEvent::User + 1));
    QCoreApplication::sendEvent(&widget, &second);
    QCOMPARE(shown_.size(), 1);

    // Errors that are not the program's own still carry a number.
    const platform::AppError internal =
        app::ErrorReportingApplication::errorFrom(std::make_exception_ptr(std::runtime_error("index out of range")));
    QCOMPARE(internal.number(), app::ErrorReportingApplication::ErrInternal);
    QVERIFY(internal.description().contains(QStringLiteral("index out of range")));
    QCOMPARE(app::ErrorReportingApplication::errorFrom(std::make_exception_ptr(std::bad_alloc())).number(),
             app::ErrorReportingApplication::ErrOutOfMemory);
}

void FrameTest::aFolderWithConnectionStringCharactersStillOpensItsDatabase()
{
    // Each a folder name a user may have; each would cut or bend the
    // connection string if written into it bare.
    const QString names[] = {QStringLiteral("a;b"), QStringLiteral("Data Source=x;Mode=Write"),
                             QStringLiteral("\"quoted\""), QStringLiteral("'single"), QStringLiteral("trailing ")};
    for (const QString &name : names) {
        const QString path = folder_->filePath(name);
        QVERIFY(QDir().mkpath(path));
        apptest::writeProcedureDatabase(path, 5);
        frmMainForm frame(path);
        try {
            frame.MDIForm_Load();
        } catch (const platform::AppError &error) {
            QFAIL(qPrintable(name + QStringLiteral(": ") + error.description()));
        }
        QVERIFY2(platform::db::sharedConnection().isOpen(), qPrintable(name));
        frame.MDIForm_Unload();
        deleteDeferred();
        platform::db::releaseShared();
    }
}

int main(int argc, char **argv)
{
    app::ErrorReportingApplication application(argc, argv);
    FrameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_frame.moc"
