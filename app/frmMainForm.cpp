#include "frmMainForm.h"

#include "app/AppVersion.h"
#include "app/BackdropMdiArea.h"
#include "app/FrameRibbon.h"
#include "app/ProgramArt.h"
#include "app/frmAbout.h"
#include "codetables/CodeTablesWindow.h"
#include "lookup/frmProcedures.h"
#include "platform/AccessibleUpdates.h"
#include "platform/AppError.h"
#include "platform/EventPump.h"
#include "platform/Twips.h"
#include "platform/db/Database.h"
#include "platform/desktop/CommonControls.h"
#include "ribbon/TelvarRibbon.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QMenu>
#include <QMdiSubWindow>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace app {

namespace {

// The command number an ID stands for, as a conversion to a double would give it.
double commandNumber(const QString &id)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(id.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        throw platform::AppError(frmMainForm::ErrTypeMismatch, QString::fromLatin1(version::ProductName),
                                 QStringLiteral("Type mismatch: the command \"%1\" is not a number.").arg(id));
    return number;
}

QString folderOrExecutables(const QString &programFolder)
{
    return programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
}

} // namespace

const QString frmMainForm::Caption = QStringLiteral("Vorimel");

frmMainForm::frmMainForm(const QString &programFolder)
    : programFolder_(folderOrExecutables(programFolder))
{
    MDIForm_Initialize();
    platform::sendAccessibilityUpdatesOfShownWidgetsOnly();
    buildWindow();
}

frmMainForm::~frmMainForm() = default;

void frmMainForm::MDIForm_Initialize()
{
    platform::desktop::InitCommonControls();
}

void frmMainForm::buildWindow()
{
    setWindowTitle(Caption);
    setWindowIcon(programIcon());
    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ribbon_ = new TelvarRibbon(client);
    ribbon_->setObjectName(QStringLiteral("TelvarRibbon1"));
    mdiArea_ = new BackdropMdiArea(client);
    layout->addWidget(ribbon_);
    layout->addWidget(mdiArea_, 1);
    setCentralWidget(client);
    resize(platform::twipsToPixels(DesignClientWidth), platform::twipsToPixels(DesignClientHeight));
    vbalImageList_ = buttonPictures();
    connect(ribbon_, &TelvarRibbon::ButtonClick, this, &frmMainForm::TelvarRibbon1_ButtonClick);
}

QString frmMainForm::connectionStringFor(const QString &programFolder)
{
    // The separator is added whatever the folder ends with; the database layer
    // reads the backslash as this platform's separator.
    const QString dataSource = programFolder + QStringLiteral("\\") + QStringLiteral("pcs.mdb");
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + connectionStringValue(dataSource)
           + QStringLiteral(";Mode=Read");
}

void frmMainForm::startReadingDatabase(const QString &programFolder)
{
    auto &connection = platform::db::sharedConnection();
    connection.setConnectionString(connectionStringFor(folderOrExecutables(programFolder)));
    connection.startReading();
}

QString frmMainForm::connectionStringValue(const QString &value)
{
    // A folder may hold ';' or quotes, or start or end with a space; left
    // bare, such a value would be cut or trimmed when the string is read.
    const bool plain = !value.contains(u';') && !value.startsWith(u'"') && !value.startsWith(u'\'')
                       && value.trimmed() == value;
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString frmMainForm::missingDatabaseDescription(const QString &programFolder)
{
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(programFolder));
    const QString file = QDir::toNativeSeparators(QDir(programFolder).filePath(QStringLiteral("pcs.mdb")));
    return QStringLiteral("Could not find file '%1'.\n\n"
                          "Vorimel reads the procedure codes from pcs.mdb in its own folder, %2. "
                          "Put a pcs.mdb there, or build one from the CMS ICD-10-PCS release files "
                          "with vorimel-pcsdb (vorimel-pcsdb --help says how) and its --output %1.")
        .arg(file, folder);
}

void frmMainForm::MDIForm_Load()
{
    auto &connection = platform::db::sharedConnection();
    connection.setConnectionString(connectionStringFor(programFolder_));
    connection.setCursorLocation(platform::db::adUseClient);
    try {
        connection.open();
    } catch (const platform::AppError &error) {
        if (error.number() != platform::db::ErrFileNotFound)
            throw;
        // The number stays; the description says where the file belongs.
        throw platform::AppError(error.number(), error.source(), missingDatabaseDescription(programFolder_));
    }
    DisableWindowMenu();
    BuildRibbon();
    TelvarRibbon1_ButtonClick(QStringLiteral("0"), QString());
    // The ribbon's commands are fixed; the code tables are a key away from anywhere in the frame.
    auto *codeTablesKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    codeTablesKey->setContext(Qt::WindowShortcut);
    connect(codeTablesKey, &QShortcut::activated, this, &frmMainForm::showCodeTables);
}

void frmMainForm::DisableWindowMenu()
{
    // No maximise box and no window menu, so no close from the title bar
    // either: the ribbon's Exit is the way out (closeEvent refuses the rest).
    const bool wasShown = isVisible();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
    windowMenuEmpty_ = true;
    if (wasShown)
        show();
}

void frmMainForm::BuildRibbon()
{
    ribbon_->SetTheme(0);
    mdiArea_->setBackdrop({ribbon_->LoadBackground(), ribbon::colorFromValue(ribbon_->BackColor())});
    ribbon_->SetImageList(vbalImageList_);
    addFrameRibbonContent(*ribbon_);
    ribbon_->Refresh();
}

void frmMainForm::TelvarRibbon1_ButtonClick(const QString &ID, const QString &)
{
    const double command = commandNumber(ID);
    if (command == CmdShowProcedures)
        showProcedures();
    if (command == CmdShowAbout)
        showAbout();
    if (command == CmdExit)
        MDIForm_Unload();
}

void frmMainForm::PressMenuButton(qint32 ButtonID)
{
    TelvarRibbon1_ButtonClick(QString::number(ButtonID), QString());
}

template <class Form> void frmMainForm::showChild(QPointer<QMdiSubWindow> &window)
{
    if (ended_)
        return;
    if (!window)
        window = mdiArea_->addSubWindow(new Form);
    // The window around a form is no place for the keyboard of its own.
    window->setFocusPolicy(Qt::NoFocus);
    // Qt gives the window's menu the desktop's close key (Ctrl+W on X11,
    // Ctrl+F4 elsewhere), which closed the search window itself and left an
    // empty frame; About and the code tables take Escape and Ctrl+F4 themselves.
    if (QMenu *menu = window->systemMenu())
        for (QAction *action : menu->actions())
            action->setShortcut(QKeySequence());
    window->show();
    mdiArea_->setActiveSubWindow(window);
    if constexpr (requires(Form &form) { form.setBackground(QPixmap(), QColor()); }) {
        if (auto *form = qobject_cast<Form *>(window->widget()))
            form->setBackground(ribbon_->LoadBackground(), ribbon::colorFromValue(ribbon_->BackColor()));
    }
    window->showMaximized();
}

void frmMainForm::showProcedures()
{
    if (lookup::frmProcedures *form = openProcedures())
        form->focusSearchBox();
}

lookup::frmProcedures *frmMainForm::openProcedures()
{
    showChild<lookup::frmProcedures>(proceduresWindow_);
    lookup::frmProcedures *form = procedures();
    if (form)
        connect(form, &lookup::frmProcedures::codeTablesRequested, this, &frmMainForm::showInCodeTables,
                Qt::UniqueConnection);
    return form;
}

void frmMainForm::showCodeTables()
{
    if (ended_)
        return;
    const bool made = !codeTablesWindow_;
    showChild<codetables::CodeTablesWindow>(codeTablesWindow_);
    codetables::CodeTablesWindow *form = codeTables();
    if (!form)
        return;
    if (made) {
        connect(form, &codetables::CodeTablesWindow::closeRequested, this, &frmMainForm::closeCodeTables);
        connect(form, &codetables::CodeTablesWindow::detailsRequested, this, &frmMainForm::showDetailsFromCodeTables);
    }
    form->focusFirstChoice();
}

void frmMainForm::showInCodeTables(const QString &code, qint32 procedureId)
{
    showCodeTables();
    if (codetables::CodeTablesWindow *form = codeTables()) {
        if (!code.isEmpty())
            form->showCode(code);
        else
            form->showProcedure(procedureId);
    }
}

void frmMainForm::closeCodeTables()
{
    // Hidden rather than closed: the choices are still there at the next Ctrl+T.
    if (codeTablesWindow_)
        codeTablesWindow_->hide();
    showProcedures();
}

void frmMainForm::showDetailsFromCodeTables(qint32 id)
{
    // Not by way of the search box: a reader would speak it before the details.
    if (lookup::frmProcedures *form = openProcedures())
        form->showDetailsOfProcedure(id);
}

void frmMainForm::openAtPreferredSize()
{
    const QSize design(platform::twipsToPixels(DesignClientWidth), platform::twipsToPixels(DesignClientHeight));
    const QScreen *display = screen();
    if (!display) {
        setMinimumSize(minimumSizeHint().expandedTo(design));
        return;
    }
    const QRect available = display->availableGeometry();
    // Room for the window manager's frame around the window.
    const QMargins decoration = frameGeometry().isValid() && frameGeometry() != geometry()
                                    ? QMargins(geometry().left() - frameGeometry().left(),
                                               geometry().top() - frameGeometry().top(),
                                               frameGeometry().right() - geometry().right(),
                                               frameGeometry().bottom() - geometry().bottom())
                                    : QMargins();
    const QSize room = available.marginsRemoved(decoration).size();
    // The design size, or what the ribbon needs, whichever is more, but never
    // more than the screen holds: a window taller than the screen has its
    // bottom out of reach, while the search window scrolls within a smaller one.
    setMinimumSize(minimumSizeHint().expandedTo(design).boundedTo(room));
    const lookup::frmProcedures *form = procedures();
    if (!form)
        return;
    // What the frame puts around the search window: the ribbon, the borders,
    // the child's own frame; the search window may be larger than the area.
    const QSize chrome = size() - mdiArea_->viewport()->size() + (proceduresWindow_->size() - form->size());
    const QSize wanted = form->preferredSize() + chrome;
    const QSize opening = wanted.boundedTo(room).expandedTo(minimumSize());
    if (opening == size())
        return;
    resize(opening);
    QRect placed(QPoint(), opening);
    placed.moveCenter(available.center());
    move(QPoint(std::max(placed.left(), available.left()), std::max(placed.top(), available.top())));
}

void frmMainForm::showAbout()
{
    const bool opening = !aboutWindow_;
    showChild<frmAbout>(aboutWindow_);
    frmAbout *form = about();
    if (!form)
        return;
    if (opening)
        connect(form, &frmAbout::closeRequested, this, &frmMainForm::closeAbout);
    form->setFocus(Qt::OtherFocusReason);
}

void frmMainForm::closeAbout()
{
    if (aboutWindow_)
        aboutWindow_->close();
    // The keyboard goes back to where it was in the search window.
    lookup::frmProcedures *form = procedures();
    if (!form || !proceduresWindow_)
        return;
    mdiArea_->setActiveSubWindow(proceduresWindow_);
    if (QWidget *last = form->focusWidget(); last && last->isVisible() && last->isEnabled())
        last->setFocus(Qt::OtherFocusReason);
    else
        form->focusSearchBox();
}

lookup::frmProcedures *frmMainForm::procedures() const
{
    return proceduresWindow_ ? qobject_cast<lookup::frmProcedures *>(proceduresWindow_->widget()) : nullptr;
}

codetables::CodeTablesWindow *frmMainForm::codeTables() const
{
    return codeTablesWindow_ ? qobject_cast<codetables::CodeTablesWindow *>(codeTablesWindow_->widget()) : nullptr;
}

frmAbout *frmMainForm::about() const
{
    return aboutWindow_ ? qobject_cast<frmAbout *>(aboutWindow_->widget()) : nullptr;
}

void frmMainForm::MDIForm_Unload()
{
    endProgram(0);
}

void frmMainForm::endProgram(int status)
{
    if (ended_)
        return;
    ended_ = true;
    endStatus_ = status;
    platform::db::sharedConnection().close();
    // Deferred, because the command may come from inside a search that reads
    // its rows between window events: it finds its window gone at its next
    // pass and stops, instead of running on in a deleted window. Releasing the
    // shared recordset now would pull it from under that search too.
    for (QMdiSubWindow *child : mdiArea_->subWindowList())
        child->deleteLater();
    platform::serviceEvents();
    hide();
    emit programEnded(status);
    QCoreApplication::exit(status);
}

void frmMainForm::closeEvent(QCloseEvent *event)
{
    if (windowMenuEmpty_ && !ended_) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace app
