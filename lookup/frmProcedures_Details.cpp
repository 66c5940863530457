// The details grid and the choice among a procedure's ICD-9 alternatives.

#include "lookup/AdvancedPanel.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/InputHold.h"
#include "lookup/SharedQuery.h"
#include "lookup/Statements.h"
#include "lookup/WaitLook.h"
#include "lookup/frmProcedures.h"
#include "platform/grid/Grid.h"

#include <QListWidget>

namespace lookup {

using platform::db::Recordset;

namespace {

// A value of the current row as text; a missing column or value is empty.
QString textOf(const Recordset &row, const QString &column)
{
    try {
        return row.field(column).toString();
    } catch (const platform::AppError &) {
        return QString();
    }
}

} // namespace

void frmProcedures::PrepareTheGrid()
{
    applyStoredLook(*vbalGrid_);
    prepareDetailsGrid(*vbalGrid_, vbalImageList_);
    // The keyboard enters the grid on the first value, not on an icon.
    vbalGrid_->selectionModel()->setCurrentIndex(vbalGrid_->model()->index(0, ValueColumn - 1),
                                                 QItemSelectionModel::NoUpdate);
}

void frmProcedures::EmptyTheGrid()
{
    for (int n = 1; n <= DetailsRowCount; ++n)
        vbalGrid_->setCellDetails(n, ValueColumn, QString(), TextCellFormat);
    gridEmptied_ = true;
}

void frmProcedures::GetProductDetails(const qint32 &id, const QString &icd9Code)
{
    readProductDetails(id, icd9Code, std::nullopt, DetailsFocus::ResultList);
}

void frmProcedures::readProductDetails(qint32 id, const QString &icd9Code, std::optional<int> chosenDuplicate,
                                       DetailsFocus focus)
{
    if (isReading())
        return;
    // The list keeps the focus and stays enabled while the details are read:
    // disabling it and hiding the grid around every reading sent the focus
    // elsewhere at every arrow key, and a screen reader lost the user's
    // place. Input meanwhile waits for the reading to end; a reading that
    // takes a while gets the wait look.
    reading_ = Reading::Details;
    const InputHold inputWaits(this);
    waitLook_->arm();

    const QPointer<QObject> alive(this);
    const bool anyIcd9Code = leadingNumber(icd9Code) == 0.0;
    bool choiceListed = false;
    QString title;
    bool windowGone = false;
    // Failures are not reported: the grid keeps what it showed and the window
    // stays usable.
    try {
        SharedQuery query(anyIcd9Code ? detailsStatement(id) : detailsStatement(id, icd9Code));
        int count = 0;
        try {
            count = query.recordCount();
        } catch (const platform::AppError &) {
        }
        try {
            if (count >= 2 && anyIcd9Code && !chosenDuplicate) {
                picDuplicates_->clear();
                picDuplicates_->show();
                vbalGrid_->hide();
                choiceListed = true;
                windowGone = !query.forEachRow(alive, [&](const Recordset &row) {
                    if (title.isEmpty())
                        title = textOf(row, QStringLiteral("Description"));
                    addDuplicateOf(row);
                });
            } else {
                int position = 0;
                windowGone = !query.forEachRow(alive, [&](const Recordset &row) {
                    if (!chosenDuplicate || position == *chosenDuplicate)
                        showDetailsOf(row);
                    ++position;
                });
            }
        } catch (const platform::AppError &) {
            // A failing step through the rows ends the reading.
        }
    } catch (const platform::AppError &) {
    }
    if (windowGone)
        return;

    reading_ = Reading::Nothing;
    waitLook_->end();
    if (choiceListed && !picDuplicates_->isHidden()) {
        offerChoice(title);
        return;
    }
    if (choiceListed)
        EmptyTheGrid(); // the choice was left while the alternatives were read
    if (focus == DetailsFocus::ResultList) {
        showDetailsArea(lstSearch_);
        return;
    }
    // What was chosen is what the keyboard and a screen reader meet next.
    vbalGrid_->setCurrentCell((focus == DetailsFocus::ChosenIcd9Code ? Icd9CodeRow : ProcedureNameRow) - 1, ValueColumn - 1);
    showDetailsArea(vbalGrid_);
}

void frmProcedures::offerChoice(const QString &title)
{
    // Waits for a double-click, or Enter, on one of the alternatives. The
    // first is current, so the keyboard starts on a line a reader can speak;
    // the focus is in the alternatives before the list is disabled, or it
    // would move to whatever control comes next.
    QListWidget *alternatives = picDuplicates_->lstDuplicates();
    picDuplicates_->nameAlternativesOf(title);
    alternatives->setFocus(Qt::OtherFocusReason);
    // Made current once the list has the focus (which made the first line
    // current unheard), so that a reader hears it.
    if (alternatives->count() > 0) {
        alternatives->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        alternatives->setCurrentRow(0);
    }
    lstSearch_->setEnabled(false);
}

void frmProcedures::showDetailsOf(const Recordset &row)
{
    gridEmptied_ = false;
    for (int n = 1; n <= DetailsRowCount; ++n) {
        try {
            const platform::db::Field value = row.field(QString::fromLatin1(detailsRows[n - 1].column));
            vbalGrid_->setCellDetails(n, ValueColumn, value.value(), TextCellFormat);
        } catch (const platform::AppError &) {
        }
    }
}

void frmProcedures::addDuplicateOf(const Recordset &row)
{
    picDuplicates_->add(textOf(row, QStringLiteral("code")), textOf(row, QStringLiteral("ID")),
                        textOf(row, QStringLiteral("pcs9")), textOf(row, QStringLiteral("pcs9desc")));
}

void frmProcedures::showDetailsArea(QWidget *focus)
{
    vbalGrid_->show();
    lstSearch_->setEnabled(true);
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
    // Hidden last: the focus it may hold has somewhere to go by now.
    picDuplicates_->hide();
}

void frmProcedures::lstDuplicates_DblClick(int row)
{
    if (isReading())
        return;
    picAdvanced_->hide();
    const QListWidgetItem *idItem = picDuplicates_->lstDuplicatesID()->item(row);
    const QListWidgetItem *codeItem = picDuplicates_->lstDuplicatesCode()->item(row);
    if (!idItem || !codeItem)
        return;
    bool ok = false;
    const qint32 id = idItem->text().toInt(&ok);
    if (!ok)
        return;
    const QString icd9Code = codeItem->text();
    // A code of numeric value zero ("0", "NoI9", none) cannot single the row
    // out in the statement; its position in the listed order does.
    const std::optional<int> chosen = leadingNumber(icd9Code) == 0.0 ? std::optional<int>(row) : std::nullopt;
    const QPointer<QObject> alive(this);
    readProductDetails(id, icd9Code, chosen, DetailsFocus::ChosenIcd9Code);
    if (alive)
        picDuplicates_->hide();
}

} // namespace lookup
