#include "platform/Backdrop.h"

#include <QPainter>
#include <QWidget>

namespace platform {

bool Backdrop::paintOn(QWidget &surface) const
{
    if (picture.isNull() && !colour.isValid())
        return false;
    QPainter painter(&surface);
    if (colour.isValid())
        painter.fillRect(surface.rect(), colour);
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
    return true;
}

} // namespace platform
