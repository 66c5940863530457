#pragma once
// Shaped text of the rows a list shows, kept between paints. A list repaints
// every visible row whenever it is disabled and enabled again, as it is around
// each reading of details, and shaping a description's glyphs anew each time
// cost most of that reading. Kept per text, for one font; bounded, so that
// scrolling through tens of thousands of rows cannot grow it without end.

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

namespace lookup {

class ShapedRows {
public:
    // The text shaped in font, from the store or shaped now.
    const QStaticText &shaped(const QString &text, const QFont &font);
    qsizetype size() const { return texts_.size(); }

    // Enough for the rows of a screen-high list several times over.
    static constexpr qsizetype MaxTexts = 1024;

private:
    QFont font_;
    QHash<QString, QStaticText> texts_;
};

} // namespace lookup
