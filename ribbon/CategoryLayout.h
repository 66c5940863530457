#pragma once
// The categories of the current tab side by side below the tab strip, each
// framed, captioned, optionally with a dialog launcher, holding its buttons in
// one row. Buttons fill slots 1, 2, ... across all shown categories.

#include <QString>
#include <QtGlobal>

class QWidget;

namespace ribbon {

class RibbonParts;
class RibbonModel;

// Lets pending window events run once before the last step; when the surface
// is destroyed meanwhile, the pass stops there.
void LayoutCategories(RibbonParts &parts, const RibbonModel &model, QWidget *surface);

// Places the buttons of one category from startLeft on; returns the width they
// span from the first button's left edge to the last one's right edge (-30 when
// the category has none).
qint16 LayoutButtons(RibbonParts &parts, const RibbonModel &model, const QString &categoryId, qint16 startLeft,
                     qint16 categorySlot);

} // namespace ribbon
