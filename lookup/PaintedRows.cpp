#include "lookup/PaintedRows.h"

#include <QPainter>

namespace lookup {

const QImage &PaintedRows::painted(const QStaticText &text, const QString &textKey, const QFont &font,
                                   const QColor &colour, const QColor &background, const QRect &area,
                                   const QPoint &textAt, qreal dpr)
{
    if (font != font_) {
        images_.clear();
        bytes_ = 0;
        font_ = font;
    }
    const Key key{textKey, colour.rgba(), background.rgba(), area.translated(-textAt), dpr};
    auto found = images_.find(key);
    if (found != images_.end())
        return *found;
    QImage image((QSizeF(area.size()) * dpr).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(background);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawStaticText(textAt - area.topLeft(), text);
    }
    if (bytes_ + image.sizeInBytes() > MaxBytes) {
        images_.clear();
        bytes_ = 0;
    }
    bytes_ += image.sizeInBytes();
    return *images_.insert(key, image);
}

} // namespace lookup
