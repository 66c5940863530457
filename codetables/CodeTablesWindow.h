#pragma once
// The Code Tables window: a coder picks section, body system and root
// operation, reads the operation's definition, sees the table's rows and picks
// one value per axis; the seven characters form a code, shown with its title
// and ICD-9-CM codes. Enter hands the code to the search window, which shows
// its details as it does for a chosen search result.

#include "codetables/CodeTableReader.h"
#include "codetables/CodeTableSet.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace platform {
class AnnouncingLabel;
}

namespace codetables {

class FilteredChoiceList;
class TableRowsModel;

class CodeTablesWindow : public QWidget {
    Q_OBJECT
public:
    explicit CodeTablesWindow(QWidget *parent = nullptr);
    ~CodeTablesWindow() override;

    static const QString NotInFileNotice;

    // Where typing goes whenever the window is shown.
    void focusFirstChoice();
    // Opens code's table with its row and values chosen (once the tables are
    // read). An unknown code leaves the choices as they were.
    void showCode(const QString &code);
    // The same for a procedure of the search window, by its ID.
    void showProcedure(qint32 id);

    bool isLoaded() const { return loaded_; }
    // Seven characters, '-' where no value is chosen yet.
    QString formedCode() const;
    const CodeTableSet &tables() const { return tables_; }

    FilteredChoiceList *sectionList() const { return choices_[0]; }
    FilteredChoiceList *bodySystemList() const { return choices_[1]; }
    FilteredChoiceList *operationList() const { return choices_[2]; }
    FilteredChoiceList *axisList(int axis) const { return axes_.at(std::size_t(axis)); }
    QTableView *rowsView() const { return rowsView_; }
    TableRowsModel *rowsModel() const { return rowsModel_; }
    QLabel *notice() const { return notice_; }
    QLabel *definition() const { return definition_; }
    QLabel *tableHeading() const { return heading_; }
    QLineEdit *codeField() const { return codeField_; }
    QLabel *title() const { return title_; }
    QLabel *icd9() const { return icd9_; }
    QPushButton *showDetailsButton() const { return showDetails_; }

signals:
    void detailsRequested(qint32 id);
    void closeRequested();
    // The tables were read (or found missing); pending requests have run.
    void loaded();

private:
    void buildControls();
    void connectHandlers();
    void load();
    void whenLoaded(std::function<void()> action);
    void sectionChosen(QChar section);
    void bodySystemChosen(QChar bodySystem);
    void operationChosen(QChar operation);
    void rowChosen(int row);
    void codeChanged();
    void readFacts();
    void showFacts();
    void requestDetails();
    void focusNextAxis();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    std::array<FilteredChoiceList *, 3> choices_{};
    std::array<FilteredChoiceList *, 4> axes_{};
    QLabel *notice_ = nullptr;
    QLabel *definition_ = nullptr;
    QLabel *heading_ = nullptr;
    QTableView *rowsView_ = nullptr;
    TableRowsModel *rowsModel_ = nullptr;
    QLineEdit *codeField_ = nullptr;
    QLabel *title_ = nullptr;
    QLabel *icd9_ = nullptr;
    QPushButton *showDetails_ = nullptr;
    // What a screen reader is told, wherever the keyboard is, once a code is
    // complete: the code and its title. Not on screen: the title shows there.
    platform::AnnouncingLabel *completedCode_ = nullptr;

    CodeTableSet tables_;
    const CodeTable *table_ = nullptr;
    bool loaded_ = false;
    std::vector<std::function<void()>> pending_;
    // Facts are read once the choices settle, never while another statement is read.
    QTimer factsTimer_;
    CodeFacts facts_;
    QString factsCode_;
};

} // namespace codetables
