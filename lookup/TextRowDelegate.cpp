#include "lookup/TextRowDelegate.h"

#include "lookup/TextListModel.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QtMath>
#include <algorithm>

namespace lookup {

namespace {

// The text of a row, and whether the style must measure it because the row
// carries more than text. A text list's rows never do; other models are asked.
bool textOnlyRow(const QModelIndex &index, QString &text)
{
    if (const auto *texts = qobject_cast<const TextListModel *>(index.model())) {
        text = texts->text(index.row());
        return true;
    }
    text = index.data(Qt::DisplayRole).toString();
    return !index.data(Qt::SizeHintRole).isValid() && !index.data(Qt::DecorationRole).isValid()
        && !index.data(Qt::CheckStateRole).isValid() && !index.data(Qt::FontRole).isValid();
}

// Plain text on one line, left to right, and nothing else in the row. The
// style fits a focus frame to the row's text, so the focused row (one at
// most) is painted by the style too.
bool plainTextRow(const QStyleOptionViewItem &option)
{
    constexpr auto extras = QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasCheckIndicator
        | QStyleOptionViewItem::HasDecoration;
    if ((option.features & extras) || option.direction != Qt::LeftToRight
        || (option.state & (QStyle::State_Editing | QStyle::State_HasFocus)) || option.text.isEmpty())
        return false;
    return std::none_of(option.text.cbegin(), option.text.cend(), [](QChar c) { return c.unicode() < 0x20; });
}

// Rows the style leaves as the list's base colour and draws nothing on but
// their text: neither selected nor under the mouse nor otherwise filled (the
// focused row never comes here), in a style known to draw nothing else there.
bool plainBackground(const QStyleOptionViewItem &row, const QStyle *style)
{
    return !(row.state & (QStyle::State_Selected | QStyle::State_MouseOver))
        && !(row.features & QStyleOptionViewItem::Alternate) && row.backgroundBrush.style() == Qt::NoBrush
        && style->name() == QLatin1String("fusion");
}

} // namespace

void TextRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    if (!plainTextRow(row)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget *widget = row.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    // Where the style puts the text: a row of text alone is all text, less the
    // focus frame's margin. (Asking the style would shape the text again.)
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect room = row.rect.adjusted(margin, 0, -margin, 0);
    const QStaticText &text = shapedRows_.shaped(row.text, row.font);
    const QSize textSize = text.size().toSize();
    if (textSize.width() > room.width()) {
        QStyledItemDelegate::paint(painter, option, index); // elided by the style
        return;
    }
    const QString shown = row.text;
    row.text.clear();
    // Over a plain background the style would draw nothing but the text.
    const bool plain = plainBackground(row, style);
    if (!plain)
        style->drawControl(QStyle::CE_ItemViewItem, &row, painter, widget);

    QPalette::ColorGroup group = (row.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(row.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const QColor colour =
        row.palette.color(group, (row.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text);
    const QRect placed = QStyle::alignedRect(row.direction, QStyle::visualAlignment(row.direction, row.displayAlignment),
                                             textSize, room);
    if (plain) {
        // The row's height and the focus margins around the text: room for
        // whatever of a glyph reaches past the text's box.
        const QRect area = QRect(placed.left() - margin, row.rect.top(), textSize.width() + 2 * margin,
                                 row.rect.height()) & row.rect;
        painter->drawImage(area.topLeft(), paintedRows_.painted(text, shown, row.font, colour,
                                                                row.palette.color(group, QPalette::Base), area,
                                                                placed.topLeft(), painter->device()->devicePixelRatio()));
        return;
    }
    painter->save();
    painter->setClipRect(row.rect, Qt::IntersectClip);
    painter->setFont(row.font);
    painter->setPen(colour);
    painter->drawStaticText(placed.topLeft(), text);
    painter->restore();
}

QSize TextRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QString text;
    if (!textOnlyRow(index, text))
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
    std::uint64_t hash = WordWidths::HashStart;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c == u' ') {
            width += wordWidth(QStringView(chars + start, i - start), hash) + spaceWidth_;
            start = i + 1;
            hash = WordWidths::HashStart;
        } else if (c < 0x20 || c > LastMeasurableCharacter) {
            return -1;
        } else {
            hash = WordWidths::hashStep(hash, c);
        }
    }
    width += wordWidth(QStringView(chars + start, size - start), hash);
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

qreal TextRowDelegate::wordWidth(QStringView word, std::uint64_t hash) const
{
    if (word.isEmpty())
        return 0;
    const qreal known = wordWidths_.find(word, hash);
    if (known >= 0)
        return known;
    const qreal width = QFontMetricsF(font_).horizontalAdvance(word.toString());
    wordWidths_.insert(word, hash, width);
    return width;
}

} // namespace lookup
