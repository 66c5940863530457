#include "lookup/ListFrame.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace lookup {

bool paintPlainFusionFrame(QAbstractScrollArea &area)
{
    // Fusion's own frame colour: its outline, a shade lighter; a textured
    // window has a translucent outline, whose corners four fills would blend twice.
    const QPalette::ColorGroup group = !area.isEnabled() ? QPalette::Disabled
                                       : area.isActiveWindow() ? QPalette::Active
                                                               : QPalette::Inactive;
    const QBrush &window = area.palette().brush(group, QPalette::Window);
    // With both scroll bars shown Qt paints the corner between them as well.
    const bool corner = area.horizontalScrollBar()->isVisible() && area.verticalScrollBar()->isVisible();
    if (area.style()->name() != QLatin1String("fusion") || area.frameShape() != QFrame::StyledPanel
        || window.style() == Qt::TexturePattern || corner || area.frameWidth() <= 0)
        return false;
    const QColor colour = window.color().darker(140).lighter(108);
    const QRect r = area.frameRect();
    QPainter painter(&area);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
    return true;
}

} // namespace lookup
