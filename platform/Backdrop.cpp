#include "platform/Backdrop.h"

#include <QPainter>

namespace platform {

void Backdrop::paint(QPainter &painter, const QRect &surface) const
{
    if (colour.isValid())
        painter.fillRect(surface, colour);
    if (!picture.isNull())
        painter.drawPixmap(surface.topLeft(), picture);
}

} // namespace platform
