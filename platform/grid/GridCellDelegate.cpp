#include "platform/grid/GridCellDelegate.h"

#include "platform/AppError.h"
#include "platform/grid/Grid.h"

#include <QApplication>
#include <QPainter>

namespace platform {

namespace {
constexpr int Margin = 2;
}

GridCellDelegate::GridCellDelegate(Grid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

int GridCellDelegate::qtTextFlags(unsigned format)
{
    int flags = 0;
    if (format & TextFormat::Center)
        flags |= Qt::AlignHCenter;
    else if (format & TextFormat::Right)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & TextFormat::VCenter)
        flags |= Qt::AlignVCenter;
    else if (format & TextFormat::Bottom)
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (format & TextFormat::SingleLine)
        flags |= Qt::TextSingleLine;
    else if (format & TextFormat::WordBreak)
        flags |= Qt::TextWordWrap;
    return flags;
}

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

QRect GridCellDelegate::textRect(const QRect &cell, const QPixmap &icon)
{
    QRect rect = cell.adjusted(Margin, Margin, -Margin, -Margin);
    if (!icon.isNull())
        rect.setLeft(rect.left() + int(icon.deviceIndependentSize().width()) + Margin);
    return rect;
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem panel = option;
    initStyleOption(&panel, index);
    panel.text.clear();
    panel.icon = QIcon();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    if (!selected && grid_->hotTrack() && (option.state & QStyle::State_MouseOver)) {
        QColor hover = option.palette.color(QPalette::Active, QPalette::Highlight);
        hover.setAlpha(70);
        painter->fillRect(option.rect, hover);
    }

    const QPixmap icon = iconOf(index);
    if (!icon.isNull()) {
        const QSizeF size = icon.deviceIndependentSize();
        const int top = option.rect.top() + (option.rect.height() - int(size.height())) / 2;
        painter->drawPixmap(QPoint(option.rect.left() + Margin, top), icon);
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    const unsigned format = index.data(GridRole::TextFormat).toUInt();
    const QRect rect = textRect(option.rect, icon);
    QString shown = text;
    if (format & TextFormat::SingleLine) {
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        shown.remove(QLatin1Char('\r'));
        if (format & (TextFormat::WordEllipsis | TextFormat::EndEllipsis))
            shown = option.fontMetrics.elidedText(shown, Qt::ElideRight, rect.width());
    }
    const QPalette::ColorGroup group = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(rect, qtTextFlags(format), shown);
    painter->restore();
}

QSize GridCellDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QPixmap icon = iconOf(index);
    const QString text = index.data(Qt::DisplayRole).toString();
    const unsigned format = index.data(GridRole::TextFormat).toUInt();
    const int width = option.rect.width() > 0 ? option.rect.width() : grid_->columnWidth(index.column());
    const QRect room = textRect(QRect(0, 0, width, 1 << 20), icon);

    int height = grid_->defaultRowHeight();
    if (!icon.isNull())
        height = std::max(height, int(icon.deviceIndependentSize().height()) + 2 * Margin);
    if (!text.isEmpty())
        height = std::max(height, option.fontMetrics.boundingRect(room, qtTextFlags(format), text).height()
                                      + 2 * Margin);
    return QSize(width, height);
}

} // namespace platform
