#pragma once
// A text element with a transparent background. An auto-sized label takes the
// size of its text in its font; a caption with CR LF is drawn on two lines.
// Without a caption it is the invisible overlay that catches the mouse.

#include "ribbon/RibbonElement.h"

namespace ribbon {

class RibbonLabel : public RibbonElement {
    Q_OBJECT

public:
    using RibbonElement::RibbonElement;

    const QString &Caption() const { return caption_; }
    void setCaption(const QString &caption);
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 colorValue);
    void setAutoSize(bool on);
    void setCentred(bool on) { centred_ = on; }
    void setTextFont(const QString &family, double pointSize);

    void copyFrom(const RibbonLabel &source);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString displayText() const;
    void fitToText();

    QString caption_;
    quint32 foreColor_ = 0;
    bool autoSize_ = false;
    bool centred_ = false;
};

} // namespace ribbon
