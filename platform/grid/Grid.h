#pragma once
// A grid of text cells with optional icons from an image list, each cell drawn
// with the Windows text-drawing flags it was given (vertical centring, word
// wrap, single line with ellipsis). Rows and columns are numbered from 1.
// Colours are given as Windows colour values 0x00BBGGRR.

#include "platform/ImageList.h"

#include <QColor>
#include <QTableWidget>
#include <QVariant>

namespace platform {

QColor colourFromBgr(quint32 value);

// Windows DrawText flags understood by the grid.
namespace TextFormat {
inline constexpr unsigned Center = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned VCenter = 0x4;
inline constexpr unsigned Bottom = 0x8;
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
inline constexpr unsigned EndEllipsis = 0x8000;
inline constexpr unsigned WordEllipsis = 0x40000;
} // namespace TextFormat

class Grid : public QTableWidget {
    Q_OBJECT
public:
    // Raised for a row or column the grid does not hold.
    static constexpr int ErrNoSuchCell = 381;

    explicit Grid(QWidget *parent = nullptr);

    // The grid draws cell icons from this list; it does not own it.
    void setImageList(const ImageList *images) { images_ = images; }
    const ImageList *imageList() const { return images_; }

    // Off: changes are not drawn until it is turned on again.
    void setRedraw(bool on);

    // alignment: 0 left, 1 centre, 2 right. headerIcon: -1 for none.
    void addColumn(const QString &key, const QString &header, int alignment, int headerIcon, int widthPixels);
    QString columnKey(int column) const;

    void setRows(int rows);

    // Throws AppError(ErrNoSuchCell) outside the grid. iconIndex -1: no icon.
    void setCellDetails(int row, int column, const QVariant &value, unsigned textFormat, int iconIndex = -1);
    QString cellText(int row, int column) const;

    // The least height of a row, in pixels; rows with wrapped text grow.
    void setDefaultRowHeight(int pixels);
    int defaultRowHeight() const { return defaultRowHeight_; }

    // The stored look.
    void setRowMode(bool wholeRows);
    void setGridLines(bool on) { setShowGrid(on); }
    void setForeColor(const QColor &colour);
    void setHighlightForeColor(const QColor &colour);
    void setHighlightBackColor(const QColor &colour);
    void setNoFocusHighlightForeColor(const QColor &colour);
    void setNoFocusHighlightBackColor(const QColor &colour);
    void setAlternateRowBackColor(const QColor &colour);
    void setHeaderHeight(int pixels);
    int headerHeight() const;
    void setHotTrack(bool on);
    bool hotTrack() const { return hotTrack_; }

    // Fits every row to its cells at the current column widths.
    void fitRows();

signals:
    // The mouse moved over the cells: buttons, modifiers, x, y in the viewport.
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QTableWidgetItem *cell(int row, int column) const;
    void setPaletteColour(QPalette::ColorGroup group, QPalette::ColorRole role, const QColor &colour);

    const ImageList *images_ = nullptr;
    QStringList keys_;
    bool redraw_ = true;
    bool hotTrack_ = false;
    int defaultRowHeight_ = 20;
};

} // namespace platform
