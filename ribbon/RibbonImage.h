#pragma once
// A picture element. A stretched image scales its picture to the size it is
// given; an unstretched one takes the size of its picture. Transparent pixels of
// the picture show what lies beneath.

#include "ribbon/RibbonElement.h"

#include <QPixmap>

namespace ribbon {

class RibbonImage : public RibbonElement {
    Q_OBJECT

public:
    using RibbonElement::RibbonElement;

    const QPixmap &Picture() const { return picture_; }
    void setPicture(const QPixmap &picture);
    void setStretch(bool stretch) { stretch_ = stretch; }

    void copyFrom(const RibbonImage &source);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture_;
    bool stretch_ = false;
};

} // namespace ribbon
