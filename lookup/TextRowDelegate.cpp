#include "lookup/TextRowDelegate.h"

#include <QFontMetricsF>
#include <QtMath>
#include <algorithm>

namespace lookup {

namespace {

// Words shaped once are kept; a list of unrelated words should not grow the
// store without end.
constexpr std::size_t MaxRememberedWords = 50000;

// Latin text without control characters is shaped word by word exactly as in
// one run; other scripts and line breaks need the style's full layout, and so
// does a trailing space, after which the line's overhang is not the last
// character's.
bool measurableByWords(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > TextRowDelegate::LastMeasurableCharacter)
            return false;
    }
    return !text.isEmpty() && !text.endsWith(QLatin1Char(' '));
}

bool styleMeasuresRow(const QModelIndex &index)
{
    return index.data(Qt::SizeHintRole).isValid() || index.data(Qt::DecorationRole).isValid()
        || index.data(Qt::CheckStateRole).isValid() || index.data(Qt::FontRole).isValid();
}

} // namespace

QSize TextRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!measurableByWords(text) || styleMeasuresRow(index))
        return QStyledItemDelegate::sizeHint(option, index);
    adoptFont(option.font);
    const int width = qCeil(textWidth(text));
    if (!measuredFrame_) {
        const QSize measured = QStyledItemDelegate::sizeHint(option, index);
        frameWidth_ = measured.width() - width;
        rowHeight_ = measured.height();
        measuredFrame_ = true;
        return measured;
    }
    return QSize(width + frameWidth_, rowHeight_);
}

void TextRowDelegate::adoptFont(const QFont &font) const
{
    if (font == font_ && spaceWidth_ > 0)
        return;
    font_ = font;
    wordWidths_.clear();
    overhangs_.fill(-1);
    measuredFrame_ = false;
    spaceWidth_ = QFontMetricsF(font_).horizontalAdvance(QLatin1Char(' '));
}

qreal TextRowDelegate::textWidth(const QString &text) const
{
    const QStringView line(text);
    qreal width = 0;
    qsizetype start = 0;
    for (;;) {
        const qsizetype space = line.indexOf(QLatin1Char(' '), start);
        const qsizetype end = space < 0 ? line.size() : space;
        width += wordWidth(line.sliced(start, end - start));
        if (space < 0)
            return width + overhang(line.back());
        width += spaceWidth_;
        start = space + 1;
    }
}

qreal TextRowDelegate::overhang(QChar last) const
{
    // A line is as wide as its last glyph reaches past its advance.
    qreal &known = overhangs_[last.unicode()];
    if (known < 0)
        known = std::max(qreal(0), -QFontMetricsF(font_).rightBearing(last));
    return known;
}

qreal TextRowDelegate::wordWidth(QStringView word) const
{
    if (word.isEmpty())
        return 0;
    const auto known = wordWidths_.find(word);
    if (known != wordWidths_.end())
        return known->second;
    if (wordWidths_.size() >= MaxRememberedWords)
        wordWidths_.clear();
    const QString key = word.toString();
    const qreal width = QFontMetricsF(font_).horizontalAdvance(key);
    wordWidths_.emplace(key, width);
    return width;
}

} // namespace lookup
