#pragma once
// One element of the ribbon's surface: a picture or a text label placed in
// twips. Positions are kept as the float twips the layout computed and rounded
// to pixels only when applied, so reading Left back gives what was written.
// "Visible" is the element's own flag (!isHidden()), independent of whether the
// ribbon itself is on screen.

#include <QString>
#include <QWidget>

namespace ribbon {

class RibbonElement : public QWidget {
    Q_OBJECT

public:
    explicit RibbonElement(QWidget *surface);

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    void setTwipsGeometry(float left, float top, float width, float height);

    bool Visible() const { return !isHidden(); }
    void setShown(bool shown) { setVisible(shown); }
    void BringToFront() { raise(); }

    const QString &Tag() const { return tag_; }
    void setTag(const QString &tag) { tag_ = tag; }
    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString &text) { setToolTip(text); }

    // Whether moves without a pressed button reach MouseMove (the elements that
    // react to hovering).
    void setTracksMouse(bool on) { setMouseTracking(on); }

    // True while one of the element's own mouse signals is being handled; such an
    // element must outlive the handler, so destroying it is deferred.
    bool handlingMouse() const { return handlingDepth_ > 0; }

protected:
    // What a run-time copy takes from its template; subclasses add their own.
    void copyCommon(const RibbonElement &source);

    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // The second press of a double click is no new press: it raises nothing, and
    // the release after it is no second click.
    void mouseDoubleClickEvent(QMouseEvent *event) override;

signals:
    void MouseMove();
    void MouseDown();
    void MouseUp();
    void Click();

private:
    class HandlingScope;
    void applyGeometry();

    float left_ = 0;
    float top_ = 0;
    float width_ = 0;
    float height_ = 0;
    QString tag_;
    bool pressedInside_ = false;
    int handlingDepth_ = 0;
};

} // namespace ribbon
