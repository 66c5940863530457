#pragma once
// The search window: keyword search over longpcs, the advanced search panel
// over getalldata, and the details grid with the choice among a procedure's
// alternative ICD-9 codes. Statements run one at a time through the shared
// recordset; while one is read, window events run between rows, so every
// handler that starts a statement first checks that none is being read.

#include "lookup/ResultList.h"
#include "lookup/UserPrompts.h"
#include "platform/AnnouncingLabel.h"
#include "platform/AppError.h"
#include "platform/Backdrop.h"
#include "platform/ImageList.h"

#include <QWidget>
#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class Grid;
namespace db {
class Recordset;
}
} // namespace platform

namespace lookup {

class AdvancedPanel;
class DuplicatesPanel;
class WaitLook;

class frmProcedures : public QWidget {
    Q_OBJECT
public:
    explicit frmProcedures(QWidget *parent = nullptr);
    ~frmProcedures() override;

    // Shows the details of a procedure; an ICD-9 code whose numeric value is
    // zero asks for no particular code.
    void GetProductDetails(const qint32 &id, const QString &icd9Code);
    // Shows a procedure's details as choosing it in the result list does,
    // for a procedure chosen elsewhere: the keyboard goes to its name in the grid.
    void showDetailsOfProcedure(qint32 id);
    // Where typing goes whenever the window is shown or brought back.
    void focusSearchBox();
    void EmptyTheGrid();
    void PressAdvancedSearchButton();

    // The frame gives the window the ribbon theme's picture and colour.
    void setBackground(const QPixmap &picture, const QColor &colour);
    void setPrompts(UserPrompts prompts) { prompts_ = std::move(prompts); }

    // True while a statement's rows are being read.
    bool isReading() const { return reading_ != Reading::Nothing; }

    ResultList *lstSearch() const { return lstSearch_; }
    ResultList *lstSearchID() const { return lstSearchID_; }
    QLineEdit *txtSearch() const { return txtSearch_; }
    QPushButton *cmdSearch() const { return cmdSearch_; }
    QPushButton *Command1() const { return Command1_; }
    QLabel *lblSearch() const { return lblSearch_; }
    QLabel *lblWait(int index) const { return lblWait_.at(index); }
    platform::Grid *vbalGrid() const { return vbalGrid_; }
    DuplicatesPanel *picDuplicates() const { return picDuplicates_; }
    AdvancedPanel *picAdvanced() const { return picAdvanced_; }
    const platform::ImageList &vbalImageList() const { return vbalImageList_; }

    // The window's client area at its design size, in twips.
    static constexpr int DesignWidth = 11100;
    static constexpr int DesignHeight = 7035;
    // The longest procedure titles (about 165 characters of mostly lower-case
    // words) are as wide as this many 'n's in the result list's font.
    static constexpr int LongestTitleInEns = 140;

    // The size at which the longest title fits the result list on one line and
    // twenty result rows show; the design size or more.
    QSize preferredSize() const;

    static const QString NoCriteriaTitle;
    static const QString NoCriteriaPrompt;
    static const QString DuplicatesMessage;

signals:
    // "Show in Code Tables": the code, or when it is empty, the procedure whose code is wanted.
    void codeTablesRequested(const QString &code, qint32 procedureId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // How the height beyond the design size is split between the result list
    // and the details area below it.
    struct ExtraHeight {
        int list = 0;
        int grid = 0;
    };

    void buildControls();
    // Every control at its design position, moved and grown by what the
    // window has beyond its design size.
    void relayout();
    ExtraHeight shareExtraHeight(int extra) const;
    int gridContentHeight() const;
    int resultRowHeight() const;
    void connectHandlers();
    void addCopyActions();
    void addCodeTablesActions();
    void Form_Load();
    void PrepareTheGrid();

    void cmdSearch_Click();
    void txtSearch_KeyUp(int key);
    void lstSearch_Click();
    void lstSearch_MouseMove();
    void Command1_Click();
    void cmdAdvancedCancel_Click();
    void cmdAdvancedSearch_Click();
    void lstDuplicates_DblClick(int row);
    void vbalGrid_MouseMove();

    // Runs a search statement into the result lists and sets the count.
    // False when the window was closed while rows were read (touch nothing
    // then); a database error is handed back through error.
    using CountCaption = QString (*)(int count);
    bool readSearchResults(const QString &statement, std::optional<platform::AppError> &error,
                           CountCaption caption = nullptr);
    // The result list back over its wait caption; the count spoken when the
    // search found what it says.
    void showResults(bool announceCount);
    void reportSearchError(const platform::AppError &error);

    // Where the keyboard is once the details show: still in the result list
    // being walked, or on what the coder chose elsewhere, so that a screen
    // reader speaks the details arriving.
    enum class DetailsFocus { ResultList, ChosenIcd9Code, ProcedureName };
    // chosenDuplicate: the position, in the statement's order, of the one row
    // to show, for a duplicate whose ICD-9 code cannot single it out.
    void readProductDetails(qint32 id, const QString &icd9Code, std::optional<int> chosenDuplicate,
                            DetailsFocus focus);
    void showDetailsOf(const platform::db::Recordset &row);
    void addDuplicateOf(const platform::db::Recordset &row);
    // Shows the grid over the alternatives and makes the list usable; focus
    // (when given) takes the keyboard first.
    void showDetailsArea(QWidget *focus);
    // title: the procedure's, which names the alternatives.
    void offerChoice(const QString &title);
    // Leaves a pending choice among duplicates (the panel is being covered
    // by the advanced search): the result list is usable again.
    void leavePendingChoice();

    ResultList *lstSearch_ = nullptr;
    ResultList *lstSearchID_ = nullptr;
    QLineEdit *txtSearch_ = nullptr;
    QPushButton *cmdSearch_ = nullptr;
    QPushButton *Command1_ = nullptr;
    platform::AnnouncingLabel *lblSearch_ = nullptr;
    std::array<QLabel *, 2> lblWait_{};
    platform::Grid *vbalGrid_ = nullptr;
    DuplicatesPanel *picDuplicates_ = nullptr;
    AdvancedPanel *picAdvanced_ = nullptr;
    platform::ImageList vbalImageList_;
    WaitLook *waitLook_ = nullptr;

    UserPrompts prompts_ = UserPrompts::messageBoxes();
    platform::Backdrop backdrop_;
    // What the shared recordset is being read for.
    enum class Reading { Nothing, Search, Details };
    Reading reading_ = Reading::Nothing;
    // Whether the Enter key now going up went down in the search box.
    bool enterPressedInSearchBox_ = false;
    // The grid's values were cleared since it last showed a procedure.
    bool gridEmptied_ = false;
};

} // namespace lookup
