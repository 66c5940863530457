#pragma once
// Hands the style a grid cell as its text format and image list describe it:
// alignment, wrapping or one line with an ellipsis, and the cell's picture.

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

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QPixmap iconOf(const QModelIndex &index) const;

    Grid *grid_;
};

} // namespace platform
