#include "platform/grid/WrappedTextHeights.h"

namespace platform {

int WrappedTextHeights::height(const QFontMetrics &metrics, const QFont &font, const QRect &room, int flags,
                               const QString &text)
{
    // Another font, or the same one on a screen of another resolution.
    if (font != font_ || metrics.lineSpacing() != lineSpacing_) {
        heights_.clear();
        font_ = font;
        lineSpacing_ = metrics.lineSpacing();
    }
    const Key key{text, room.width(), flags};
    const auto found = heights_.constFind(key);
    if (found != heights_.constEnd())
        return *found;
    if (heights_.size() >= MaxTexts)
        heights_.clear();
    const int measured = metrics.boundingRect(room, flags, text).height();
    heights_.insert(key, measured);
    return measured;
}

} // namespace platform
