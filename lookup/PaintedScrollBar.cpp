#include "lookup/PaintedScrollBar.h"

#include <QApplication>
#include <QPainter>

namespace lookup {

PaintedScrollBar::PaintedScrollBar(Qt::Orientation orientation, QWidget *parent) : QScrollBar(orientation, parent)
{
}

bool PaintedScrollBar::sameLook(const Look &look, const QStyleOptionSlider &option, const QStyle *style, qreal dpr)
{
    const QStyleOptionSlider &kept = look.option;
    return !look.pixels.isNull() && look.style == style && look.dpr == dpr && kept.rect == option.rect
        && kept.state == option.state && kept.direction == option.direction
        && kept.palette.cacheKey() == option.palette.cacheKey()
        && kept.palette.currentColorGroup() == option.palette.currentColorGroup()
        && kept.orientation == option.orientation && kept.minimum == option.minimum
        && kept.maximum == option.maximum && kept.sliderPosition == option.sliderPosition
        && kept.sliderValue == option.sliderValue && kept.singleStep == option.singleStep
        && kept.pageStep == option.pageStep && kept.upsideDown == option.upsideDown
        && kept.subControls == option.subControls && kept.activeSubControls == option.activeSubControls;
}

const QImage &PaintedScrollBar::pixelsFor(const QStyleOptionSlider &option, qreal dpr)
{
    for (const Look &look : looks_) {
        if (sameLook(look, option, style(), dpr))
            return look.pixels;
    }
    Look &look = looks_[nextLook_];
    nextLook_ = (nextLook_ + 1) % looks_.size();
    look.option = option;
    look.style = style();
    look.dpr = dpr;
    look.pixels = QImage((QSizeF(option.rect.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    look.pixels.setDevicePixelRatio(dpr);
    look.pixels.fill(Qt::transparent);
    QPainter painter(&look.pixels);
    style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
    return look.pixels;
}

void PaintedScrollBar::paintEvent(QPaintEvent *event)
{
    // A style that fades its scroll bars in and out paints one option differently over time.
    if (underMouse() || isSliderDown() || QApplication::mouseButtons() != Qt::NoButton
        || style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this)) {
        QScrollBar::paintEvent(event);
        return;
    }
    // What QScrollBar paints when no part of it is hovered or pressed.
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), pixelsFor(option, devicePixelRatio()));
}

} // namespace lookup
