#pragma once
// What assistive technology sees of the ribbon. The ribbon is drawn from
// dozens of pictures and labels stacked on one surface; listed as they are,
// they are nameless fillers a screen reader cannot use. Instead the ribbon
// presents itself as a tool bar holding a page tab list with its tabs, then
// one group per shown category, named by its caption, holding its buttons as
// push buttons whose press action clicks them exactly as the mouse does.

class TelvarRibbon;

namespace ribbon {

// Makes Qt ask this file for every ribbon's interface; once is enough.
void installRibbonAccessibility();
// Tells a screen reader that the keyboard moved to another tab or button of
// the ribbon (the ribbon keeps the focus itself).
void announceKeyboardStop(TelvarRibbon *ribbon);

} // namespace ribbon
