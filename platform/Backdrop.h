#pragma once
// A window's background: a colour over the whole surface and a picture in its
// top left corner, as the ribbon theme gives them to the frame and its children.

#include <QColor>
#include <QPixmap>

class QPainter;
class QRect;

namespace platform {

struct Backdrop {
    QPixmap picture;
    QColor colour;

    bool isEmpty() const { return picture.isNull() && !colour.isValid(); }
    void paint(QPainter &painter, const QRect &surface) const;
};

} // namespace platform
