#pragma once
// The tab strip: one set of pieces per tab, left to right from a fixed margin,
// each tab as wide as its caption plus its two end pieces.

#include <QtGlobal>

namespace ribbon {

class RibbonParts;
class RibbonModel;
struct ThemeColors;

// The index of the tab shown as selected: the first whose ID is the current
// tab, tab 0 when none is.
int selectedTabIndex(const RibbonModel &model);

void LayoutTabs(RibbonParts &parts, const RibbonModel &model, const ThemeColors &colors);

// Gives tab index the selected look and every other tab the normal one.
void ShowSelectedTab(RibbonParts &parts, int index, const ThemeColors &colors);

} // namespace ribbon
