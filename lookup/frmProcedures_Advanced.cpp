// The advanced search: conditions on up to eleven columns of getalldata.

#include "lookup/AdvancedPanel.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/Statements.h"
#include "lookup/frmProcedures.h"

#include <QApplication>
#include <QPushButton>

namespace lookup {

void frmProcedures::Command1_Click()
{
    picAdvanced_->show();
    // The focus goes first, so leaving the alternatives takes none with it.
    picAdvanced_->tabOrder().constFirst()->setFocus(Qt::OtherFocusReason);
    leavePendingChoice();
}

void frmProcedures::cmdAdvancedCancel_Click()
{
    const bool hadFocus = picAdvanced_->isAncestorOf(QApplication::focusWidget());
    picAdvanced_->hide();
    if (hadFocus)
        Command1_->setFocus(Qt::OtherFocusReason);
}

void frmProcedures::PressAdvancedSearchButton()
{
    cmdAdvancedSearch_Click();
}

void frmProcedures::cmdAdvancedSearch_Click()
{
    if (isReading())
        return;
    const std::vector<AdvancedCondition> conditions = picAdvanced_->conditions();
    if (conditions.empty()) {
        prompts_.tell(this, QMessageBox::Information, QStringLiteral("Advanced Search"),
                      QStringLiteral("No row is ticked.\r\nTick the box in front of each row whose text the "
                                     "procedures must match, then press FIND."));
        return;
    }
    leavePendingChoice();
    const QString statement = advancedStatement(conditions, picAdvanced_->position(), picAdvanced_->joining());

    // The panel stays open while the rows are read; FIND must not start a
    // second statement meanwhile.
    reading_ = Reading::Search;
    picAdvanced_->cmdAdvancedSearch()->setEnabled(false);
    std::optional<platform::AppError> error;
    if (!readSearchResults(statement, error))
        return;

    showResults(!error);
    picAdvanced_->cmdAdvancedSearch()->setEnabled(true);
    reading_ = Reading::Nothing;
    if (error) {
        // The panel stays open so the texts can be put right.
        reportSearchError(*error);
        return;
    }
    picAdvanced_->hide();
    // The results are where the keyboard goes next.
    lstSearch_->setFocus(Qt::OtherFocusReason);
}

void frmProcedures::leavePendingChoice()
{
    if (picDuplicates_->isHidden())
        return;
    // A details reading under way finishes the job itself when it sees the
    // panel hidden.
    if (reading_ == Reading::Details) {
        picDuplicates_->hide();
        return;
    }
    EmptyTheGrid();
    showDetailsArea(nullptr);
}

} // namespace lookup
