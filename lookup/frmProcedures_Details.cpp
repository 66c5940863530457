// The details grid and the choice among a procedure's ICD-9 alternatives.

#include "lookup/AdvancedPanel.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/KeyboardHold.h"
#include "lookup/SharedQuery.h"
#include "lookup/Statements.h"
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
}

void frmProcedures::EmptyTheGrid()
{
    for (int n = 1; n <= DetailsRowCount; ++n)
        vbalGrid_->setCellDetails(n, ValueColumn, QString(), TextCellFormat);
    gridEmptied_ = true;
}

void frmProcedures::GetProductDetails(const qint32 &id, const QString &icd9Code)
{
    readProductDetails(id, icd9Code, std::nullopt);
}

void frmProcedures::readProductDetails(qint32 id, const QString &icd9Code, std::optional<int> chosenDuplicate)
{
    if (isReading())
        return;
    picDuplicates_->hide();
    vbalGrid_->hide();
    reading_ = Reading::Details;
    const KeyboardHold keysWait(this);
    lstSearch_->setEnabled(false);

    const QPointer<QObject> alive(this);
    const bool anyIcd9Code = leadingNumber(icd9Code) == 0.0;
    bool choiceListed = false;
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
                picDuplicates_->show();
                picDuplicates_->clear();
                choiceListed = true;
                windowGone = !query.forEachRow(alive, [this](const Recordset &row) { addDuplicateOf(row); });
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
    if (choiceListed && !picDuplicates_->isHidden()) {
        // Waits for a double-click, or Enter, on one of the alternatives.
        picDuplicates_->lstDuplicates()->setFocus();
        return;
    }
    if (choiceListed)
        EmptyTheGrid(); // the choice was left while the alternatives were read
    showDetailsArea();
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

void frmProcedures::showDetailsArea()
{
    lstSearch_->setEnabled(true);
    lstSearch_->setFocus();
    vbalGrid_->show();
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
    readProductDetails(id, icd9Code, chosen);
    if (alive)
        picDuplicates_->hide();
}

} // namespace lookup
