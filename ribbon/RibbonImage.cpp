#include "ribbon/RibbonImage.h"

#include "platform/Twips.h"

#include <QPainter>

namespace ribbon {

void RibbonImage::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    if (!stretch_ && !picture_.isNull()) {
        setWidth(platform::pixelsToTwips(picture_.width()));
        setHeight(platform::pixelsToTwips(picture_.height()));
    }
    update();
}

void RibbonImage::copyFrom(const RibbonImage &source)
{
    stretch_ = source.stretch_;
    copyCommon(source);
    picture_ = source.picture_;
}

void RibbonImage::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawPixmap(rect(), picture_);
    } else {
        painter.drawPixmap(0, 0, picture_);
    }
}

} // namespace ribbon
