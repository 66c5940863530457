#include "lookup/ShapedRows.h"

namespace lookup {

const QStaticText &ShapedRows::shaped(const QString &text, const QFont &font)
{
    if (font != font_) {
        texts_.clear();
        font_ = font;
    }
    auto found = texts_.find(text);
    if (found != texts_.end())
        return *found;
    if (texts_.size() >= MaxTexts)
        texts_.clear();
    QStaticText shaped(text);
    shaped.setTextFormat(Qt::PlainText);
    shaped.prepare(QTransform(), font);
    return *texts_.insert(text, shaped);
}

} // namespace lookup
