#pragma once
// Measures the rows of a one-line text list without laying out each row's text:
// a result list of tens of thousands of descriptions is measured in full every
// time it is shown again, and a full text layout per row costs most of a search.
// Rows are as high as the style makes them and as wide as their text, which is
// the sum of its words' advances (descriptions repeat a small vocabulary, so
// each word is shaped once). Rows the shortcut cannot measure faithfully go to
// the style, which paints every row.

#include <QFont>
#include <QString>
#include <QStyledItemDelegate>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace lookup {

class TextRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Latin letters and signs; rows with characters beyond go to the style.
    static constexpr char16_t LastMeasurableCharacter = 0x24F;
    // Words kept at most; past that they are forgotten, so that unrelated
    // texts cannot grow the store without end.
    static constexpr std::size_t MaxWords = 50000;

private:
    // Width of one line of text, or a negative value when the shortcut does
    // not apply to it.
    qreal textWidth(QStringView line) const;
    qreal wordWidth(QStringView word) const;
    qreal overhang(QChar last) const;
    void adoptFont(const QFont &font) const;

    // What the style adds around the text, and the height of a row, in the
    // font the rows were last measured in.
    mutable QFont font_;
    mutable bool measuredFrame_ = false;
    mutable int frameWidth_ = 0;
    mutable int rowHeight_ = 0;
    mutable qreal spaceWidth_ = 0;
    // By last character; -1 while unknown.
    mutable std::array<qreal, LastMeasurableCharacter + 1> overhangs_{};
    // Looked up by a view of the row's text, without a string of its own.
    struct WordHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view word) const { return std::hash<std::u16string_view>()(word); }
    };
    mutable std::unordered_map<std::u16string, qreal, WordHash, std::equal_to<>> wordWidths_;
};

} // namespace lookup
