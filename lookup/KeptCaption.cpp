#include "lookup/KeptCaption.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <cstring>

namespace lookup {

namespace {

// The image a widget's painter paints and where the widget's rectangle lands
// on it; no image when the painter paints anything else, or turns, scales
// (beyond the image's own pixel ratio) or cuts off the widget.
struct Placement {
    const QImage *image = nullptr;
    QRect area;
};

Placement placeOnImage(const QPainter &painter, const QRect &rect)
{
    // A widget's painter reports the widget; its engine paints the window's image.
    const QPaintDevice *device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return {};
    const auto *image = static_cast<const QImage *>(device);
    const QTransform &transform = painter.deviceTransform();
    const qreal dpr = image->devicePixelRatio();
    if (transform.type() > QTransform::TxScale || transform.m11() != dpr || transform.m22() != dpr)
        return {};
    const QRect placed = transform.mapRect(QRectF(rect)).toAlignedRect();
    if (!image->rect().contains(placed))
        return {};
    return {image, placed};
}

// Whether area of image holds the pixels of kept (a copy of such an area).
bool samePixels(const QImage &image, const QRect &area, const QImage &kept)
{
    if (kept.size() != area.size() || kept.format() != image.format())
        return false;
    const qsizetype rowBytes = qsizetype(area.width()) * image.depth() / 8;
    const qsizetype offset = qsizetype(area.x()) * image.depth() / 8;
    for (int y = 0; y < area.height(); ++y) {
        if (std::memcmp(image.constScanLine(area.y() + y) + offset, kept.constScanLine(y), size_t(rowBytes)) != 0)
            return false;
    }
    return true;
}

} // namespace

KeptCaption::KeptCaption(const QString &text, QWidget *parent) : QLabel(text, parent)
{
}

KeptCaption::State KeptCaption::currentState() const
{
    return State{text(),
                 font(),
                 palette().cacheKey(),
                 int(palette().currentColorGroup()),
                 size(),
                 int(alignment()),
                 indent(),
                 margin(),
                 contentsMargins(),
                 int(foregroundRole()),
                 wordWrap(),
                 isEnabled(),
                 int(layoutDirection()),
                 style()};
}

bool KeptCaption::keepable(const QPaintEvent &event) const
{
    const bool plainText =
        textFormat() == Qt::PlainText || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text()));
    // A caption that takes the focus or lets its text be selected is painted
    // with its selection by a text control; one with a buddy underlines its
    // shortcut as the style decides at the time.
    const bool selectable = focusPolicy() != Qt::NoFocus
        || (textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
    return plainText && !selectable && !buddy() && !text().isEmpty() && frameShape() == QFrame::NoFrame
        && pixmap().isNull() && (QRegion(rect()) - event.region()).isEmpty();
}

void KeptCaption::paintEvent(QPaintEvent *event)
{
    if (!keepable(*event)) {
        QLabel::paintEvent(event);
        return;
    }
    Placement placement;
    {
        QPainter probe(this);
        placement = placeOnImage(probe, rect());
        if (!placement.image) {
            probe.end();
            QLabel::paintEvent(event);
            return;
        }
        const State state = currentState();
        for (const Look &look : looks_) {
            if (look.state == state && samePixels(*placement.image, placement.area, look.under)) {
                // The kept pixels replace what is there, translucent or not.
                probe.setCompositionMode(QPainter::CompositionMode_Source);
                probe.drawImage(QPoint(0, 0), look.painted);
                return;
            }
        }
    }
    const QImage &target = *placement.image;
    Look &look = looks_[nextLook_];
    nextLook_ = (nextLook_ + 1) % looks_.size();
    look.state = currentState();
    look.under = target.copy(placement.area);
    QLabel::paintEvent(event);
    look.painted = target.copy(placement.area);
    look.painted.setDevicePixelRatio(target.devicePixelRatio());
}

} // namespace lookup
