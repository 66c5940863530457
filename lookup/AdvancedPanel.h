#pragma once
// The advanced search panel picAdvanced: eleven parameter rows (tick, caption,
// text), where the text must lie, how conditions combine, CANCEL and FIND.
// It only holds the user's choices; the window runs the search.

#include "lookup/Statements.h"

#include <QFrame>
#include <array>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lookup {

class AdvancedPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int ParamCount = 11;
    // The panel's size at design time, in twips.
    static constexpr int DesignWidth = 10815;
    static constexpr int DesignHeight = 5055;

    explicit AdvancedPanel(QWidget *parent);

    QCheckBox *chkParam(int i) const { return chkParam_.at(i); }
    QLineEdit *txtParam(int i) const { return txtParam_.at(i); }
    QRadioButton *optParamSettings(int i) const { return optParamSettings_.at(i); }
    QRadioButton *optParamConcat(int i) const { return optParamConcat_.at(i); }
    QPushButton *cmdAdvancedCancel() const { return cmdAdvancedCancel_; }
    QPushButton *cmdAdvancedSearch() const { return cmdAdvancedSearch_; }

    // The column a row's condition names (the caption label's tag).
    static QString columnOfRow(int i);

    // Ticked rows in index order, with their texts as typed.
    std::vector<AdvancedCondition> conditions() const;
    TextPosition position() const;
    Joining joining() const;
    void selectPosition(TextPosition position);
    void selectJoining(Joining joining);

    // The panel's controls in the order Tab visits them: each row's tick box
    // and text, the options, FIND, CANCEL.
    QList<QWidget *> tabOrder() const;

signals:
    // Enter in one of the rows' texts: run FIND.
    void findRequested();
    // Escape anywhere in the panel: CANCEL.
    void cancelRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();
    void buildParameterRows();
    void buildPositionOptions();
    void buildJoiningOptions();
    void buildButtons();

    std::array<QCheckBox *, ParamCount> chkParam_{};
    std::array<QLabel *, ParamCount> lblParam_{};
    std::array<QLineEdit *, ParamCount> txtParam_{};
    std::array<QRadioButton *, 3> optParamSettings_{};
    std::array<QRadioButton *, 2> optParamConcat_{};
    std::array<QLabel *, 7> lblParamSettings_{};
    QButtonGroup *positionGroup_ = nullptr;
    QButtonGroup *joiningGroup_ = nullptr;
    QFrame *picBox_ = nullptr;
    QPushButton *cmdAdvancedCancel_ = nullptr;
    QPushButton *cmdAdvancedSearch_ = nullptr;
};

} // namespace lookup
