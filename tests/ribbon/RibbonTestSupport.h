#pragma once
// Shared set-up for the ribbon tests: pictures for the image list, the frame's
// own ribbon content, and short ways to read elements.

#include "app/FrameRibbon.h"
#include "platform/ImageList.h"
#include "ribbon/RibbonParts.h"
#include "ribbon/TelvarRibbon.h"

#include <QFontMetrics>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

namespace ribbontest {

// count pictures of the given size, each a different solid colour.
inline platform::ImageList pictures(int count, QSize size = QSize(32, 32))
{
    platform::ImageList list;
    for (int i = 0; i < count; ++i) {
        QPixmap picture(size);
        picture.fill(QColor::fromHsv((i * 47) % 360, 200, 200));
        list.add(picture);
    }
    return list;
}

// The content the program's frame window gives its ribbon.
inline void fillLikeFrame(TelvarRibbon &ribbon)
{
    ribbon.SetTheme(0);
    ribbon.SetImageList(pictures(7));
    app::addFrameRibbonContent(ribbon);
}

// Whether element index of an array exists and is shown (its own flag).
template <class Array>
bool shown(const Array &array, int index)
{
    const auto *element = array(index);
    return element && element->Visible();
}

// Pixel width of a one-line caption in a label's font, in twips.
inline float textWidthTwips(const ribbon::RibbonLabel &label, const QString &text)
{
    return float(QFontMetrics(label.font()).horizontalAdvance(text) * 15);
}

// Theme loads write temporary files: a test object holding one of these keeps
// them out of the shared folder, in a folder of its own.
struct OwnTemporaryFolder {
    QTemporaryDir folder;
    OwnTemporaryFolder() { qputenv("TMPDIR", folder.path().toLocal8Bit()); }
};

} // namespace ribbontest
