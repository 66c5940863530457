#pragma once
// Draws one grid cell: background by the view's style, then the icon from the
// grid's image list, then the text laid out by the cell's text format.

#include <QStyledItemDelegate>

namespace platform {

class Grid;

namespace GridRole {
inline constexpr int TextFormat = Qt::UserRole + 1;
inline constexpr int IconIndex = Qt::UserRole + 2;
} // namespace GridRole

class GridCellDelegate : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(Grid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Qt alignment and text flags for a Windows DrawText format.
    static int qtTextFlags(unsigned textFormat);

private:
    QPixmap iconOf(const QModelIndex &index) const;
    // The rectangle left for the text once the icon has its place.
    static QRect textRect(const QRect &cell, const QPixmap &icon);

    Grid *grid_;
};

} // namespace platform
