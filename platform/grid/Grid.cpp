#include "platform/grid/Grid.h"

#include "platform/AppError.h"
#include "platform/grid/GridCellDelegate.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

namespace platform {

QColor colourFromBgr(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

Grid::Grid(QWidget *parent) : QTableWidget(parent)
{
    setItemDelegate(new GridCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(true);
    setFocusPolicy(Qt::StrongFocus);
    // Tab leaves the grid, as it leaves any other control; arrows move
    // among the cells.
    setTabKeyNavigation(false);
    setMouseTracking(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setColumnCount(0);
    setRowCount(0);
}

void Grid::setRedraw(bool on)
{
    redraw_ = on;
    setUpdatesEnabled(on);
    if (on)
        fitRows();
}

void Grid::addColumn(const QString &key, const QString &header, int alignment, int headerIcon, int widthPixels)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    auto *headerItem = new QTableWidgetItem(header);
    const Qt::Alignment horizontal = alignment == 1 ? Qt::AlignHCenter : alignment == 2 ? Qt::AlignRight : Qt::AlignLeft;
    headerItem->setTextAlignment(horizontal | Qt::AlignVCenter);
    if (headerIcon >= 1 && images_ && headerIcon <= images_->count())
        headerItem->setIcon(QIcon(images_->picture(headerIcon)));
    setHorizontalHeaderItem(column, headerItem);
    setColumnWidth(column, widthPixels);
    keys_.append(key);
}

QString Grid::columnKey(int column) const
{
    return column >= 1 && column <= keys_.size() ? keys_[column - 1] : QString();
}

void Grid::setRows(int rows)
{
    setRowCount(std::max(rows, 0));
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, defaultRowHeight_);
}

QTableWidgetItem *Grid::cell(int row, int column) const
{
    if (row < 1 || row > rowCount() || column < 1 || column > columnCount())
        throw AppError(ErrNoSuchCell, QStringLiteral("vbalGrid"),
                       QStringLiteral("Subscript out of range: the grid has no cell (%1, %2).").arg(row).arg(column));
    return item(row - 1, column - 1);
}

void Grid::setCellDetails(int row, int column, const QVariant &value, unsigned textFormat, int iconIndex)
{
    QTableWidgetItem *target = cell(row, column);
    if (!target) {
        target = new QTableWidgetItem;
        target->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row - 1, column - 1, target);
    }
    const QString text = value.isNull() ? QString() : value.toString();
    target->setData(Qt::DisplayRole, text);
    target->setData(GridRole::TextFormat, textFormat);
    target->setData(GridRole::IconIndex, iconIndex >= 1 ? QVariant(iconIndex) : QVariant());
    if (redraw_)
        resizeRowToContents(row - 1);
}

QString Grid::cellText(int row, int column) const
{
    const QTableWidgetItem *target = cell(row, column);
    return target ? target->text() : QString();
}

void Grid::setDefaultRowHeight(int pixels)
{
    defaultRowHeight_ = std::max(pixels, 1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    fitRows();
}

void Grid::fitRows()
{
    if (!redraw_)
        return;
    for (int row = 0; row < rowCount(); ++row)
        resizeRowToContents(row);
}

void Grid::setRowMode(bool wholeRows)
{
    setSelectionBehavior(wholeRows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void Grid::setPaletteColour(QPalette::ColorGroup group, QPalette::ColorRole role, const QColor &colour)
{
    QPalette colours = palette();
    colours.setColor(group, role, colour);
    setPalette(colours);
}

void Grid::setForeColor(const QColor &colour)
{
    setPaletteColour(QPalette::All, QPalette::Text, colour);
}

void Grid::setHighlightForeColor(const QColor &colour)
{
    setPaletteColour(QPalette::Active, QPalette::HighlightedText, colour);
}

void Grid::setHighlightBackColor(const QColor &colour)
{
    setPaletteColour(QPalette::Active, QPalette::Highlight, colour);
}

void Grid::setNoFocusHighlightForeColor(const QColor &colour)
{
    setPaletteColour(QPalette::Inactive, QPalette::HighlightedText, colour);
}

void Grid::setNoFocusHighlightBackColor(const QColor &colour)
{
    setPaletteColour(QPalette::Inactive, QPalette::Highlight, colour);
}

void Grid::setAlternateRowBackColor(const QColor &colour)
{
    setPaletteColour(QPalette::All, QPalette::AlternateBase, colour);
    setAlternatingRowColors(true);
}

void Grid::setHeaderHeight(int pixels)
{
    horizontalHeader()->setFixedHeight(pixels);
}

int Grid::headerHeight() const
{
    return horizontalHeader()->height();
}

void Grid::setHotTrack(bool on)
{
    hotTrack_ = on;
    viewport()->setAttribute(Qt::WA_Hover, on);
}

void Grid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit mouseMoved(event->buttons(), event->modifiers(), at.x(), at.y());
    QTableWidget::mouseMoveEvent(event);
}

void Grid::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    // A reader is told of the grid taking the focus, not of the cell the
    // keyboard is on: once it has heard of the grid, the cell is made current
    // anew, which it hears as the cell taking the focus.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QModelIndex current = currentIndex();
            if (!hasFocus() || !current.isValid())
                return;
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        },
        Qt::QueuedConnection);
}

void Grid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    // A stretched column changes width with the grid; wrapped text reflows.
    fitRows();
}

} // namespace platform
