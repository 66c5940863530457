#pragma once
// A scroll bar that keeps the pixels of the looks it last painted. The result
// list's scroll bar repaints whenever the list is disabled and enabled again,
// at every reading of a procedure's details, and in the same few looks. Fusion
// fills its groove and handle with gradients, which the raster engine hands
// to a thread pool in pieces of 64 scanlines: for a bar 20 pixels wide the
// threads' waking costs far more than the filling, most of all on a busy
// machine. A look painted before is copied instead.
//
// Only looks no pointer takes part in are kept: while the pointer is over the
// bar or a button is held, the style is asked every time, as Qt would; so it
// is under a style whose scroll bars fade in and out.

#include <QImage>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <array>

namespace lookup {

class PaintedScrollBar : public QScrollBar {
public:
    explicit PaintedScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Look {
        QStyleOptionSlider option;
        const QStyle *style = nullptr;
        qreal dpr = 0;
        QImage pixels;
    };
    static bool sameLook(const Look &look, const QStyleOptionSlider &option, const QStyle *style, qreal dpr);
    const QImage &pixelsFor(const QStyleOptionSlider &option, qreal dpr);

    // The enabled and disabled looks of a reading, and one to spare.
    std::array<Look, 3> looks_;
    std::size_t nextLook_ = 0;
};

} // namespace lookup
