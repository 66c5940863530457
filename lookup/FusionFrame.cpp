#include "lookup/FusionFrame.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace lookup {

namespace {

// Paints the outline and returns true when Fusion would draw it plainly;
// false, with nothing painted, in every other case.
bool paintPlainFusionFrame(QFrame &frame)
{
    // Fusion's own frame colour: its outline, a shade lighter; a textured
    // window has a translucent outline, whose corners four fills would blend twice.
    const QPalette::ColorGroup group = !frame.isEnabled() ? QPalette::Disabled
                                       : frame.isActiveWindow() ? QPalette::Active
                                                                : QPalette::Inactive;
    const QBrush &window = frame.palette().brush(group, QPalette::Window);
    // With both scroll bars shown Qt paints the corner between them as well.
    const auto *area = qobject_cast<const QAbstractScrollArea *>(&frame);
    const bool corner = area && area->horizontalScrollBar()->isVisible() && area->verticalScrollBar()->isVisible();
    if (frame.style()->name() != QLatin1String("fusion") || frame.frameShape() != QFrame::StyledPanel
        || window.style() == Qt::TexturePattern || corner || frame.frameWidth() <= 0)
        return false;
    const QColor colour = window.color().darker(140).lighter(108);
    const QRect r = frame.frameRect();
    QPainter painter(&frame);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
    return true;
}

// A frame's own paint events draw its outline only (a scroll area's contents
// are its viewport's), so the outline painted here is all they would paint.
class FramePainter : public QObject {
public:
    explicit FramePainter(QFrame &frame) : QObject(&frame), frame_(frame) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return watched == &frame_ && event->type() == QEvent::Paint && paintPlainFusionFrame(frame_);
    }

private:
    QFrame &frame_;
};

} // namespace

void paintFrameByFills(QFrame &frame)
{
    frame.installEventFilter(new FramePainter(frame));
}

} // namespace lookup
