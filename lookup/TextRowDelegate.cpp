#include "lookup/TextRowDelegate.h"

#include "lookup/TextListModel.h"

#include <QFontMetricsF>
#include <QtMath>
#include <algorithm>

namespace lookup {

QSize TextRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // Only a text list's rows are known to carry nothing but their text.
    const auto *texts = qobject_cast<const TextListModel *>(index.model());
    if (!texts)
        return QStyledItemDelegate::sizeHint(option, index);
    adoptFont(option.font);
    const qreal textAdvance = textWidth(texts->text(index.row()));
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

qreal TextRowDelegate::textWidth(QStringView line) const
{
    // Latin text without control characters is shaped word by word exactly as
    // in one run; other scripts and line breaks need the style's full layout,
    // and so does a trailing space, after which the line's overhang is not
    // the last character's.
    if (line.isEmpty() || line.back() == QLatin1Char(' '))
        return -1;
    const char16_t *chars = line.utf16();
    const qsizetype size = line.size();
    qreal width = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c == u' ') {
            width += wordWidth(QStringView(chars + start, i - start)) + spaceWidth_;
            start = i + 1;
        } else if (c < 0x20 || c > LastMeasurableCharacter) {
            return -1;
        }
    }
    width += wordWidth(QStringView(chars + start, size - start));
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

qreal TextRowDelegate::wordWidth(QStringView word) const
{
    if (word.isEmpty())
        return 0;
    const std::u16string_view key(reinterpret_cast<const char16_t *>(word.utf16()), std::size_t(word.size()));
    if (const auto known = wordWidths_.find(key); known != wordWidths_.end())
        return known->second;
    if (wordWidths_.size() >= MaxWords)
        wordWidths_.clear();
    const qreal width = QFontMetricsF(font_).horizontalAdvance(word.toString());
    wordWidths_.emplace(key, width);
    return width;
}

} // namespace lookup
