#pragma once
// A caption that keeps the pixels it painted. The wait caption under the
// details grid is painted at every reading of a procedure's details (the grid
// is hidden while it is filled), and the caption of the ICD-9 alternatives at
// every procedure that has several: the same text over the same background
// each time, laid out and blended glyph by glyph, 24-point glyphs in the
// first case and wrapped text in the second.
//
// What lies under a caption is whatever its window painted there (a colour,
// a picture), so a look is kept together with the pixels it was painted
// over, read from the image being painted, and copied only over the same
// pixels. A caption painted in part, onto anything but an image, with rich
// text or with text that can be selected is painted by QLabel as always.

#include <QImage>
#include <QLabel>
#include <QMargins>
#include <array>

namespace lookup {

class KeptCaption : public QLabel {
public:
    KeptCaption(const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct State {
        QString text;
        QFont font;
        qint64 palette = 0;
        int colourGroup = 0;
        QSize size;
        int alignment = 0;
        int indent = 0;
        int margin = 0;
        QMargins contents;
        int foreground = 0;
        bool wordWrap = false;
        bool enabled = false;
        int direction = 0;
        const QStyle *style = nullptr;
        bool operator==(const State &) const = default;
    };
    struct Look {
        State state;
        QImage under;
        QImage painted;
    };
    State currentState() const;
    bool keepable(const QPaintEvent &event) const;

    std::array<Look, 2> looks_;
    std::size_t nextLook_ = 0;
};

} // namespace lookup
