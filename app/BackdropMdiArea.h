#pragma once
// The frame's client area, which hosts the child windows over the theme's
// background, and scrolls where the frame is smaller than a child.

#include "platform/Backdrop.h"

#include <QMdiArea>

namespace app {

class BackdropMdiArea : public QMdiArea {
    Q_OBJECT
public:
    explicit BackdropMdiArea(QWidget *parent = nullptr);

    void setBackdrop(platform::Backdrop backdrop);
    const platform::Backdrop &backdrop() const { return backdrop_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    platform::Backdrop backdrop_;
};

} // namespace app
