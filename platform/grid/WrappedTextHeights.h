#pragma once
// Heights of wrapped cell texts, kept. The grid sizes each row to its text
// whenever a cell is set, eleven rows for every procedure shown, and laying
// out a wrapped text is far dearer than looking its height up: captions never
// change and the meanings of code characters repeat from code to code.
// Bounded, and dropped when the font or its metrics change.

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QRect>
#include <QString>

namespace platform {

class WrappedTextHeights {
public:
    // The height of text laid out with flags in room, as metrics measure it.
    int height(const QFontMetrics &metrics, const QFont &font, const QRect &room, int flags, const QString &text);

    static constexpr qsizetype MaxTexts = 4096;

private:
    struct Key {
        QString text;
        int width;
        int flags;
        bool operator==(const Key &) const = default;
    };
    friend size_t qHash(const Key &key, size_t seed) { return qHashMulti(seed, key.text, key.width, key.flags); }

    QFont font_;
    int lineSpacing_ = -1;
    QHash<Key, int> heights_;
};

} // namespace platform
