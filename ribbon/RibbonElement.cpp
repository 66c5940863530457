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

class RibbonElement::HandlingScope {
public:
    explicit HandlingScope(RibbonElement *element) : element_(element) { ++element->handlingDepth_; }
    ~HandlingScope()
    {
        if (element_)
            --element_->handlingDepth_;
    }
    HandlingScope(const HandlingScope &) = delete;
    HandlingScope &operator=(const HandlingScope &) = delete;
    bool alive() const { return !element_.isNull(); }

private:
    QPointer<RibbonElement> element_;
};

void RibbonElement::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    HandlingScope scope(this);
    emit MouseMove();
}

void RibbonElement::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    pressedInside_ = true;
    HandlingScope scope(this);
    emit MouseDown();
}

void RibbonElement::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool click = pressedInside_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    pressedInside_ = false;
    HandlingScope scope(this);
    emit MouseUp();
    if (scope.alive() && click)
        emit Click();
}

void RibbonElement::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    pressedInside_ = false;
}

} // namespace ribbon
