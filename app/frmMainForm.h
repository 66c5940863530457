#pragma once
// The frame window: the ribbon across the top as the program's only menu, the
// search window and the About window as maximised children below it. It owns
// the life of the shared database connection: opened at load, closed when the
// program ends.

#include "platform/ImageList.h"

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

class TelvarRibbon;

namespace lookup {
class frmProcedures;
}
namespace codetables {
class CodeTablesWindow;
}

namespace app {

class BackdropMdiArea;
class frmAbout;

class frmMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Command numbers: the IDs of the ribbon's buttons.
    static constexpr int CmdShowProcedures = 0;
    static constexpr int CmdShowAbout = 2;
    static constexpr int CmdExit = 3;
    // Raised for a command ID that is not a number.
    static constexpr int ErrTypeMismatch = 13;

    static const QString Caption;
    // The client area at design time, in twips; the frame never gets smaller.
    static constexpr int DesignClientWidth = 11160;
    static constexpr int DesignClientHeight = 8760;

    // programFolder: where pcs.mdb is looked for; the executable's folder when empty.
    explicit frmMainForm(const QString &programFolder = QString());
    ~frmMainForm() override;

    // Opens the database, takes the window menu away, fills the ribbon and
    // opens the search window. Throws platform::AppError (a missing or damaged
    // database among others); the caller ends the program with it.
    void MDIForm_Load();
    // Command 3: ends the program.
    void MDIForm_Unload();

    // Runs command ButtonID as if its ribbon button had been clicked.
    void PressMenuButton(qint32 ButtonID);
    // The ribbon's ButtonClick: runs the command whose number ID holds; throws
    // AppError ErrTypeMismatch when ID is not a number. Caption is not used.
    void TelvarRibbon1_ButtonClick(const QString &ID, const QString &Caption);

    // Ends the program with status: closes the database connection, closes the
    // child windows (a search still reading its rows sees its window go),
    // lets pending events run once and leaves the event loop. The shared
    // database objects are released by whoever runs the event loop, once it
    // has returned. Only the first call does anything.
    void endProgram(int status);
    bool hasEnded() const { return ended_; }
    int endStatus() const { return endStatus_; }

    static QString connectionStringFor(const QString &programFolder);
    // Starts reading pcs.mdb in the program folder (empty: the executable's),
    // so that it is read while the windows are built; MDIForm_Load opens it.
    static void startReadingDatabase(const QString &programFolder);
    // A connection-string value, in double quotes when it holds characters
    // the string's syntax would take for its own.
    static QString connectionStringValue(const QString &value);
    // The missing pcs.mdb: where it was looked for, and how to get one there.
    static QString missingDatabaseDescription(const QString &programFolder);

    // Once shown: as large as the search window wants to be (the longest
    // title on one line, twenty result rows), within the screen's available
    // area, centred on it; never smaller than the design size. Nothing is
    // remembered from one run to the next.
    void openAtPreferredSize();

    TelvarRibbon *TelvarRibbon1() const { return ribbon_; }
    BackdropMdiArea *mdiArea() const { return mdiArea_; }
    const platform::ImageList &vbalImageList() const { return vbalImageList_; }
    QMdiSubWindow *proceduresWindow() const { return proceduresWindow_; }
    QMdiSubWindow *aboutWindow() const { return aboutWindow_; }
    QMdiSubWindow *codeTablesWindow() const { return codeTablesWindow_; }
    lookup::frmProcedures *procedures() const;
    codetables::CodeTablesWindow *codeTables() const;

    // Ctrl+T: the Code Tables window, maximised over the search window.
    void showCodeTables();
    // The Code Tables window opened on a code, or on a procedure's code when code is empty.
    void showInCodeTables(const QString &code, qint32 procedureId);
    frmAbout *about() const;

signals:
    void programEnded(int status);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void MDIForm_Initialize();
    void buildWindow();
    void DisableWindowMenu();
    void BuildRibbon();
    void showProcedures();
    // Loaded, forward and maximised, the keyboard where it was.
    lookup::frmProcedures *openProcedures();
    void showAbout();
    void closeCodeTables();
    void showDetailsFromCodeTables(qint32 id);
    // Escape in the About window: it closes and the search window has the
    // keyboard again.
    void closeAbout();
    // Loads the child into `window` unless it is loaded, brings it forward,
    // gives it the theme's background and maximises it.
    template <class Form> void showChild(QPointer<QMdiSubWindow> &window);

    QString programFolder_;
    TelvarRibbon *ribbon_ = nullptr;
    BackdropMdiArea *mdiArea_ = nullptr;
    platform::ImageList vbalImageList_;
    QPointer<QMdiSubWindow> proceduresWindow_;
    QPointer<QMdiSubWindow> aboutWindow_;
    QPointer<QMdiSubWindow> codeTablesWindow_;
    bool windowMenuEmpty_ = false;
    bool ended_ = false;
    int endStatus_ = 0;
};

} // namespace app
