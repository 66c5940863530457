#include "lookup/TextRowDelegate.h"

#include <QFontMetricsF>
#include <QtMath>
#include <algorithm>

namespace lookup {

namespace {

// Words shaped once are kept; a list of unrelated words should not grow the
// store without end.
constexpr std::size_t MaxRememberedWords = 50000;

bool styleMeasuresRow(const QModelIndex &index)
{
    return index.data(Qt::SizeHintRole).isValid() || index.data(Qt::DecorationRole).isValid()
        || index.data(Qt::CheckStateRole).isValid() || index.data(Qt::FontRole).isValid();
}

} // namespace

QSize TextRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (styleMeasuresRow(index))
        return QStyledItemDelegate::sizeHint(option, index);
    adoptFont(option.font);
    const qreal textAdvance = textWidth(text);
    if (textAdvance < 0)
        return QStyledItemDelegate::sizeHint(option, index);
    const int width = qCeil(textAdvance);
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

namespace {
constexpr size_t HashStart = 14695981039346656037ull;
constexpr size_t HashFactor = 1099511628211ull;

size_t hashStep(size_t hash, char16_t c)
{
    return (hash ^ c) * HashFactor;
}
} // namespace

size_t TextRowDelegate::hashOf(QStringView text)
{
    size_t hash = HashStart;
    for (const QChar c : text)
        hash = hashStep(hash, c.unicode());
    return hash;
}

qreal TextRowDelegate::textWidth(QStringView line) const
{
    // Latin text without control characters is shaped word by word exactly as
    // in one run; other scripts and line breaks need the style's full layout,
    // and so does a trailing space, after which the line's overhang is not
    // the last character's.
    if (line.isEmpty() || line.back() == QLatin1Char(' '))
        return -1;
    qreal width = 0;
    qsizetype start = 0;
    size_t hash = HashStart;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = line[i].unicode();
        if (c < 0x20 || c > LastMeasurableCharacter)
            return -1;
        if (c != u' ') {
            hash = hashStep(hash, c);
            continue;
        }
        width += wordWidth(Word{line.sliced(start, i - start), hash}) + spaceWidth_;
        start = i + 1;
        hash = HashStart;
    }
    width += wordWidth(Word{line.sliced(start), hash});
    return width + overhang(line.back());
}

qreal TextRowDelegate::overhang(QChar last) const
{
    // A line is as wide as its last glyph reaches past its advance.
    qreal &known = overhangs_[last.unicode()];
    if (known < 0)
        known = std::max(qreal(0), -QFontMetricsF(font_).rightBearing(last));
    return known;
}

qreal TextRowDelegate::wordWidth(const Word &word) const
{
    if (word.text.isEmpty())
        return 0;
    const auto known = wordWidths_.find(word);
    if (known != wordWidths_.end())
        return known->second;
    if (wordWidths_.size() >= MaxRememberedWords)
        wordWidths_.clear();
    const QString key = word.text.toString();
    const qreal width = QFontMetricsF(font_).horizontalAdvance(key);
    wordWidths_.emplace(key, width);
    return width;
}

} // namespace lookup
