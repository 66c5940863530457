#include "ribbon/RibbonElement.h"

#include "platform/Twips.h"

#include <QMouseEvent>
#include <QPointer>

namespace ribbon {

RibbonElement::RibbonElement(QWidget *surface) : QWidget(surface)
{
    hide();
}

void RibbonElement::setLeft(float twips)
{
    left_ = twips;
    applyGeometry();
}

void RibbonElement::setTop(float twips)
{
    top_ = twips;
    applyGeometry();
}

void RibbonElement::setWidth(float twips)
{
    width_ = twips;
    applyGeometry();
}

void RibbonElement::setHeight(float twips)
{
    height_ = twips;
    applyGeometry();
}

void RibbonElement::setTwipsGeometry(float left, float top, float width, float height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    applyGeometry();
}

void RibbonElement::applyGeometry()
{
    // Edges are rounded, not origin and extent, so pieces that touch in twips
    // touch in pixels too.
    const int x = platform::twipsToPixels(left_);
    const int y = platform::twipsToPixels(top_);
    const int right = platform::twipsToPixels(double(left_) + double(width_));
    const int bottom = platform::twipsToPixels(double(top_) + double(height_));
    setGeometry(x, y, qMax(0, right - x), qMax(0, bottom - y));
}

void RibbonElement::copyCommon(const RibbonElement &source)
{
    setTwipsGeometry(source.left_, source.top_, source.width_, source.height_);
    tag_ = source.tag_;
    setToolTip(source.toolTip());
    setMouseTracking(source.hasMouseTracking());
}

// The host may delete the ribbon, and with it this element, inside any of the
// signals below; nothing of the element is touched once that has happened.

void RibbonElement::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit MouseMove();
}

void RibbonElement::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    pressedInside_ = true;
    emit MouseDown();
}

void RibbonElement::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool click = pressedInside_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    pressedInside_ = false;
    QPointer<RibbonElement> alive(this);
    emit MouseUp();
    if (alive && click)
        emit Click();
}

void RibbonElement::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    pressedInside_ = false;
}

} // namespace ribbon
