#pragma once
// A window's background: a colour over the whole surface and a picture in its
// top left corner, as the ribbon theme gives them to the frame and its children.

#include <QColor>
#include <QPixmap>

class QWidget;

namespace platform {

struct Backdrop {
    QPixmap picture;
    QColor colour;

    // Paints the surface, from its paint event; false, painting nothing, when
    // there is neither picture nor colour.
    bool paintOn(QWidget &surface) const;
};

} // namespace platform
