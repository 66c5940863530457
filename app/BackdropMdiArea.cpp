#include "BackdropMdiArea.h"

#include <QPainter>

namespace app {

BackdropMdiArea::BackdropMdiArea(QWidget *parent) : QMdiArea(parent) {}

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
