#include "BackdropMdiArea.h"

#include <QPainter>

namespace app {

BackdropMdiArea::BackdropMdiArea(QWidget *parent) : QMdiArea(parent)
{
    // On a screen smaller than a child's design size the child keeps that
    // size and the area scrolls to its far parts, instead of cutting them off.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void BackdropMdiArea::setBackdrop(Backdrop backdrop)
{
    backdrop_ = std::move(backdrop);
    viewport()->update();
}

void BackdropMdiArea::paintEvent(QPaintEvent *event)
{
    if (backdrop_.isEmpty()) {
        QMdiArea::paintEvent(event);
        return;
    }
    QPainter painter(viewport());
    backdrop_.paint(painter, viewport()->rect());
}

} // namespace app
