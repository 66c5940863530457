#pragma once
// Rows of text already painted, kept as pixels over the list's own plain
// background. A list repaints every visible row when it is disabled for a
// reading of details and again when it is enabled; blending each glyph anew
// was most of a reading's time. The two looks of the rows a list shows are
// copied from here instead. Bounded by bytes, so that scrolling through tens
// of thousands of rows cannot grow it without end.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>

namespace lookup {

class PaintedRows {
public:
    // An image of area (in the row's coordinates, device pixel ratio dpr)
    // filled with background, with text drawn in colour at textAt: pixel for
    // pixel what drawing the text there over that background gives.
    const QImage &painted(const QStaticText &text, const QString &textKey, const QFont &font, const QColor &colour,
                          const QColor &background, const QRect &area, const QPoint &textAt, qreal dpr);

    static constexpr qsizetype MaxBytes = qsizetype(8) << 20;

private:
    struct Key {
        QString text;
        QRgb colour;
        QRgb background;
        QRect area; // moved so that the text stands at the origin
        qreal dpr;
        bool operator==(const Key &) const = default;
    };
    friend size_t qHash(const Key &key, size_t seed)
    {
        return qHashMulti(seed, key.text, key.colour, key.background, key.area.x(), key.area.y(), key.area.width(),
                          key.area.height(), key.dpr);
    }

    QFont font_;
    QHash<Key, QImage> images_;
    qsizetype bytes_ = 0;
};

} // namespace lookup
