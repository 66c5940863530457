// The Code Tables window in the frame, on the sample pcs.mdb the build makes
// with vorimel-pcsdb: from Ctrl+T to a code's details by keyboard alone, and
// from the search window's menus to a code's row in its table.

#include "ProcedureDatabase.h"
#include "ReaderEvents.h"

#include "app/BackdropMdiArea.h"
#include "app/ErrorReportingApplication.h"
#include "app/frmMainForm.h"
#include "codetables/CodeTablesWindow.h"
#include "codetables/FilteredChoiceList.h"
#include "codetables/TableRowsModel.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/ResultList.h"
#include "lookup/Statements.h"
#include "lookup/frmProcedures.h"
#include "platform/db/Database.h"
#include "platform/grid/Grid.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using app::frmMainForm;
using codetables::CodeTablesWindow;
using codetables::FilteredChoiceList;

namespace {

QWidget *focused()
{
    return QApplication::focusWidget();
}

void type(const QString &text)
{
    QTest::keyClicks(focused(), text);
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused(), key, modifiers);
}

QAction *action(QWidget *widget, const QString &text)
{
    for (QAction *candidate : widget->actions()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

QList<FilteredChoiceList *> choiceLists(CodeTablesWindow &w)
{
    return {w.sectionList(), w.bodySystemList(), w.operationList(), w.axisList(0), w.axisList(1), w.axisList(2),
            w.axisList(3)};
}

} // namespace

class CodeTablesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keyboardFromCtrlTToTheDetailsOfACode();
    void showInCodeTablesFromTheGridAndTheResultList();
    void aCodeWithSeveralIcd9CodesOffersThemUnderItsOwnTitle();
    void aFileWithoutTheTablesSaysHowToBuildThem();

private:
    // The frame loaded on folder_ and shown, with the keyboard in the search box.
    void openFrame(frmMainForm &frame);
    CodeTablesWindow *openCodeTables(frmMainForm &frame);

    std::unique_ptr<QTemporaryDir> folder_;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers_;
    QStringList shown_;
};

void CodeTablesTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QVERIFY(QFile::copy(QStringLiteral(VORIMEL_BIN_DIR "/pcs.mdb"), folder_->filePath(QStringLiteral("pcs.mdb"))));
    shown_.clear();
    static_cast<app::ErrorReportingApplication *>(QCoreApplication::instance())
        ->setErrorPresenter([this](const platform::AppError &error) { shown_ << error.description(); });
}

void CodeTablesTest::cleanup()
{
    QVERIFY2(shown_.isEmpty(), qPrintable(shown_.join('\n')));
    testers_.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::db::releaseShared();
}

void CodeTablesTest::openFrame(frmMainForm &frame)
{
    frame.MDIForm_Load();
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QCOMPARE(focused(), frame.procedures()->txtSearch());
}

CodeTablesWindow *CodeTablesTest::openCodeTables(frmMainForm &frame)
{
    press(Qt::Key_T, Qt::ControlModifier);
    CodeTablesWindow *w = frame.codeTables();
    if (!w)
        return nullptr;
    if (!QTest::qWaitFor([w] { return w->isLoaded(); }))
        return nullptr;
    for (FilteredChoiceList *list : choiceLists(*w)) {
        testers_.push_back(std::make_unique<QAbstractItemModelTester>(list->model()));
        testers_.push_back(std::make_unique<QAbstractItemModelTester>(list->proxy()));
    }
    testers_.push_back(std::make_unique<QAbstractItemModelTester>(w->rowsModel()));
    return w;
}

void CodeTablesTest::keyboardFromCtrlTToTheDetailsOfACode()
{
    frmMainForm frame(folder_->path());
    openFrame(frame);
    CodeTablesWindow *w = openCodeTables(frame);
    QVERIFY(w);
    QVERIFY(frame.codeTablesWindow()->isMaximized());
    QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.codeTablesWindow());
    QVERIFY(w->notice()->isHidden());
    QCOMPARE(w->tables().tableCount(), 6);

    // Every control is a named tab stop.
    QList<QWidget *> controls = {w->rowsView(), w->codeField(), w->showDetailsButton()};
    for (FilteredChoiceList *list : choiceLists(*w))
        controls << list->filter() << list->list();
    for (QWidget *control : controls) {
        QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
        QVERIFY(control->focusPolicy() & Qt::TabFocus);
    }

    // The rows get the room a larger frame gives.
    const int rowsHeight = w->rowsView()->height();
    frame.resize(frame.size() + QSize(200, 300));
    QTRY_VERIFY(w->rowsView()->height() > rowsHeight);

    // Typing narrows each list and chooses; Enter goes on to the next.
    QCOMPARE(focused(), w->sectionList()->filter());
    type(QStringLiteral("surgical"));
    QCOMPARE(w->sectionList()->proxy()->rowCount(), 1);
    QCOMPARE(w->sectionList()->chosenKey(), QChar('0'));
    press(Qt::Key_Return);
    QCOMPARE(focused(), w->bodySystemList()->filter());
    type(QStringLiteral("PERIPHERAL"));
    press(Qt::Key_Return);
    type(QStringLiteral("remov"));
    QCOMPARE(w->definition()->text(), QStringLiteral("Taking out or off a device from a body part"));
    QCOMPARE(w->tableHeading()->text(),
             QStringLiteral("Table 01P: Medical and Surgical, Peripheral Nervous System, Removal"));
    QCOMPARE(w->rowsModel()->rowCount(), 2);
    press(Qt::Key_Return);
    QCOMPARE(focused(), w->rowsView());

    // The first row; its lone body part and qualifier are chosen already.
    QCOMPARE(w->rowsView()->currentIndex().row(), 0);
    QCOMPARE(w->formedCode(), QStringLiteral("01PY--Z"));
    QVERIFY(!w->showDetailsButton()->isEnabled());
    press(Qt::Key_Return);
    QCOMPARE(focused(), w->axisList(1)->filter());
    press(Qt::Key_Down);
    QCOMPARE(w->axisList(1)->chosenKey(), QChar('0'));
    press(Qt::Key_Return);
    QCOMPARE(focused(), w->axisList(2)->filter());
    ReaderEvents reader;
    type(QStringLiteral("autologous"));
    QCOMPARE(w->formedCode(), QStringLiteral("01PY07Z"));
    const QString title = QStringLiteral("Removal of Autologous Tissue Substitute from Peripheral Nerve, Open Approach");
    QTRY_COMPARE(w->title()->text(), title);
    // A reader is told of the complete code once, and the keyboard stays.
    QCOMPARE(reader.notifications(), QStringList{QStringLiteral("01PY07Z, ") + title});
    QCOMPARE(focused(), w->axisList(2)->filter());
    QVERIFY2(w->icd9()->text().startsWith(QStringLiteral("ICD-9-CM: 04.04 ")), qPrintable(w->icd9()->text()));
    QCOMPARE(w->codeField()->text(), QStringLiteral("01PY07Z"));

    // Ctrl+C in a list of values copies the code.
    w->axisList(2)->list()->setFocus();
    press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("01PY07Z"));

    // Enter: the search window shows the code's details, as for a chosen
    // result, and the keyboard (a reader with it) meets them on the name.
    w->axisList(2)->filter()->setFocus();
    press(Qt::Key_Return);
    lookup::frmProcedures *procedures = frame.procedures();
    QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.proceduresWindow());
    QTRY_COMPARE(procedures->vbalGrid()->cellText(lookup::CodeRow, lookup::ValueColumn), QStringLiteral("01PY07Z"));
    QCOMPARE(platform::db::sharedCommand().commandText(), lookup::detailsStatement(3));
    QCOMPARE(focused(), procedures->vbalGrid());
    QCOMPARE(procedures->vbalGrid()->currentIndex(),
             procedures->vbalGrid()->model()->index(lookup::ProcedureNameRow - 1, lookup::ValueColumn - 1));

    // Ctrl+T again finds the choices as they were; Escape gives the search window the keyboard.
    press(Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(frame.codeTables(), w);
    QCOMPARE(w->formedCode(), QStringLiteral("01PY07Z"));
    press(Qt::Key_Escape);
    QVERIFY(frame.codeTablesWindow()->isHidden());
    QCOMPARE(focused(), procedures->txtSearch());
    press(Qt::Key_T, Qt::ControlModifier);
    press(Qt::Key_F4, Qt::ControlModifier);
    QVERIFY(frame.codeTablesWindow()->isHidden());
    QCOMPARE(focused(), procedures->txtSearch());
}

void CodeTablesTest::showInCodeTablesFromTheGridAndTheResultList()
{
    frmMainForm frame(folder_->path());
    openFrame(frame);
    lookup::frmProcedures *procedures = frame.procedures();
    type(QStringLiteral("Insertion of Pacemaker Lead into Right Atrium, Percutaneous Endoscopic"));
    QTest::mouseClick(procedures->cmdSearch(), Qt::LeftButton);
    QVERIFY(procedures->lstSearch()->count() >= 1);
    procedures->lstSearch()->setCurrentRow(0);
    QTRY_VERIFY(!procedures->vbalGrid()->cellText(lookup::CodeRow, lookup::ValueColumn).isEmpty());
    const QString code = procedures->vbalGrid()->cellText(lookup::CodeRow, lookup::ValueColumn);
    QCOMPARE(code, QStringLiteral("02H64JZ"));

    for (QWidget *menuOwner : {static_cast<QWidget *>(procedures->vbalGrid()),
                               static_cast<QWidget *>(procedures->lstSearch())}) {
        QAction *show = action(menuOwner, QStringLiteral("Show in Code Tables"));
        QVERIFY(show);
        show->trigger();
        CodeTablesWindow *w = frame.codeTables();
        QVERIFY(w);
        QTRY_COMPARE(w->formedCode(), code);
        QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.codeTablesWindow());
        QVERIFY(w->tableHeading()->text().startsWith(QStringLiteral("Table 02H: ")));
        const int row = int(w->tables().table(QStringLiteral("02H"))->rowHolding(code));
        QCOMPARE(w->rowsView()->currentIndex().row(), row);
        QCOMPARE(focused(), w->rowsView());
        QTRY_VERIFY(w->title()->text().startsWith(QStringLiteral("Insertion of Pacemaker Lead into Right Atrium")));
        press(Qt::Key_Escape);
        QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.proceduresWindow());
    }
}

void CodeTablesTest::aCodeWithSeveralIcd9CodesOffersThemUnderItsOwnTitle()
{
    frmMainForm frame(folder_->path());
    openFrame(frame);
    // Another procedure is current in the result list meanwhile.
    lookup::frmProcedures *procedures = frame.procedures();
    type(QStringLiteral("Removal"));
    QTest::mouseClick(procedures->cmdSearch(), Qt::LeftButton);
    procedures->lstSearch()->setCurrentRow(0);
    QTRY_VERIFY(!procedures->vbalGrid()->cellText(lookup::CodeRow, lookup::ValueColumn).isEmpty());

    CodeTablesWindow *w = openCodeTables(frame);
    QVERIFY(w);
    w->showCode(QStringLiteral("0SRE00A"));
    QTRY_VERIFY(w->showDetailsButton()->isEnabled());
    w->codeField()->setFocus();
    press(Qt::Key_Return);
    QListWidget *alternatives = procedures->picDuplicates()->lstDuplicates();
    QTRY_COMPARE(focused(), alternatives);
    QCOMPARE(alternatives->count(), 3);
    QCOMPARE(alternatives->accessibleName(),
             QStringLiteral("ICD-9 alternatives for Replacement of Left Hip Joint, Acetabular Surface with "
                            "Polyethylene Synthetic Substitute, Uncemented, Open Approach"));

    // Enter on Show Details does the same.
    press(Qt::Key_T, Qt::ControlModifier);
    w->showDetailsButton()->setFocus();
    QTRY_COMPARE(focused(), w->showDetailsButton());
    press(Qt::Key_Return);
    QTRY_COMPARE(focused(), alternatives);
}

void CodeTablesTest::aFileWithoutTheTablesSaysHowToBuildThem()
{
    QFile::remove(folder_->filePath(QStringLiteral("pcs.mdb")));
    apptest::writeProcedureDatabase(folder_->path(), 5);
    frmMainForm frame(folder_->path());
    openFrame(frame);
    CodeTablesWindow *w = openCodeTables(frame);
    QVERIFY(w);
    QVERIFY(!w->notice()->isHidden());
    QCOMPARE(w->notice()->text(), CodeTablesWindow::NotInFileNotice);
    QVERIFY(w->notice()->text().contains(QStringLiteral("vorimel-pcsdb")));
    QVERIFY(!w->sectionList()->isEnabled());
    // The search window is unaffected.
    press(Qt::Key_Escape);
    type(QStringLiteral("Procedure"));
    QTest::mouseClick(frame.procedures()->cmdSearch(), Qt::LeftButton);
    QCOMPARE(frame.procedures()->lstSearch()->count(), 5);
}

int main(int argc, char **argv)
{
    app::ErrorReportingApplication application(argc, argv);
    CodeTablesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_code_tables.moc"
