#include "platform/grid/GridCellDelegate.h"

#include "platform/grid/Grid.h"

namespace platform {

namespace {

Qt::Alignment alignmentOf(unsigned format)
{
    const Qt::Alignment horizontal = (format & TextFormat::Center)  ? Qt::AlignHCenter
                                     : (format & TextFormat::Right) ? Qt::AlignRight
                                                                    : Qt::AlignLeft;
    const Qt::Alignment vertical = (format & TextFormat::VCenter)  ? Qt::AlignVCenter
                                   : (format & TextFormat::Bottom) ? Qt::AlignBottom
                                                                   : Qt::AlignTop;
    return horizontal | vertical;
}

} // namespace

GridCellDelegate::GridCellDelegate(Grid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

QPixmap GridCellDelegate::iconOf(const QModelIndex &index) const
{
    const QVariant icon = index.data(GridRole::IconIndex);
    const ImageList *images = grid_->imageList();
    if (!icon.isValid() || !images)
        return {};
    const int position = icon.toInt();
    if (position < 1 || position > images->count())
        return {};
    return images->picture(position);
}

void GridCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const unsigned format = index.data(GridRole::TextFormat).toUInt();
    option->displayAlignment = alignmentOf(format);
    option->textElideMode =
        (format & (TextFormat::WordEllipsis | TextFormat::EndEllipsis)) ? Qt::ElideRight : Qt::ElideNone;
    option->features.setFlag(QStyleOptionViewItem::WrapText,
                             (format & TextFormat::WordBreak) && !(format & TextFormat::SingleLine));
    if (format & TextFormat::SingleLine) {
        option->text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QChar::LineSeparator, QLatin1Char(' '));
        option->text.remove(QLatin1Char('\r'));
    }

    if (const QPixmap icon = iconOf(index); !icon.isNull()) {
        // The image list's picture as it is: the style would tint it on a
        // selected row with the application's highlight, not the grid's.
        option->icon = QIcon(icon);
        option->icon.addPixmap(icon, QIcon::Selected);
        option->decorationSize = icon.deviceIndependentSize().toSize();
        option->features |= QStyleOptionViewItem::HasDecoration;
    }

    // Fusion marks no row under the mouse; the grid's hot tracking does.
    if (grid_->hotTrack() && (option->state & QStyle::State_MouseOver)
        && !(option->state & QStyle::State_Selected)) {
        QColor hover = option->palette.color(QPalette::Active, QPalette::Highlight);
        hover.setAlpha(70);
        option->backgroundBrush = hover;
    }
}

QSize GridCellDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // Two pixels beyond what the style asks, so that a row's picture keeps a
    // pixel or two of room above and below it, as rows always had.
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    return {size.width(), std::max(size.height() + 2, grid_->defaultRowHeight())};
}

} // namespace platform
