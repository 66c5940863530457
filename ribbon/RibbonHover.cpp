#include "ribbon/RibbonHover.h"

#include "ribbon/ElementOps.h"
#include "ribbon/RibbonParts.h"

namespace ribbon {

namespace {

void clearTab(RibbonParts &p, int k)
{
    if (!isShown(p.Tab_center_over, k))
        return;
    setShown(p.Tab_center_over, k, false);
    setShown(p.Tab_left_over, k, false);
    setShown(p.Tab_right_over, k, false);
}

void clearCategory(RibbonParts &p, int k)
{
    if (!isShown(p.Cat_Center_on, k))
        return;
    setShown(p.Cat_Center_on, k, false);
    setShown(p.Cat_Left_on, k, false);
    setShown(p.Cat_Right_on, k, false);
    if (isShown(p.Cat_Dlg, k)) {
        setShown(p.Cat_Dlg_on, k, false);
        setShown(p.Cat_Dlg_over, k, false);
    }
}

void clearButton(RibbonParts &p, int k)
{
    if (!isShown(p.Button_center, k))
        return;
    setShown(p.Button_left, k, false);
    setShown(p.Button_right, k, false);
    setShown(p.Button_center, k, false);
    if (isShown(p.Glip_off, k))
        setShown(p.Glip_on, k, false);
}

// Clears every element but index (all of them for -1), in index order around
// the one that is given its look.
template <class Clear, class Look>
void hoverOne(RibbonParts &p, int index, int upperBound, Clear clear, Look look)
{
    for (int k = 0; k <= upperBound; ++k) {
        if (k == index)
            look(p, k);
        else
            clear(p, k);
    }
}

} // namespace

void HoverTab(RibbonParts &parts, int index)
{
    hoverOne(parts, index, parts.TabMouse.UBound(), clearTab, [](RibbonParts &p, int i) {
        if (isShown(p.Tab_center, i))
            return; // the selected tab never shows the hover look
        setShown(p.Tab_center_over, i, true);
        setShown(p.Tab_left_over, i, true);
        setShown(p.Tab_right_over, i, true);
    });
}

void HoverCategory(RibbonParts &parts, int index)
{
    hoverOne(parts, index, parts.CatMouse.UBound(), clearCategory, [](RibbonParts &p, int i) {
        setShown(p.Cat_Center_on, i, true);
        setShown(p.Cat_Left_on, i, true);
        setShown(p.Cat_Right_on, i, true);
        if (isShown(p.Cat_Dlg, i)) {
            setShown(p.Cat_Dlg_on, i, true);
            setShown(p.Cat_Dlg_over, i, false);
        }
    });
}

void HoverButton(RibbonParts &parts, int index)
{
    hoverOne(parts, index, parts.ButMouse.UBound(), clearButton, [](RibbonParts &p, int i) {
        if (isShown(p.Button_left, i))
            return; // already hovered: leave it alone
        setShown(p.Button_left, i, true);
        setShown(p.Button_center, i, true);
        setShown(p.Button_right, i, true);
        if (isShown(p.Glip_off, i))
            setShown(p.Glip_on, i, true);
    });
}

void HoverNothing(RibbonParts &parts)
{
    HoverTab(parts, -1);
    HoverCategory(parts, -1);
    HoverButton(parts, -1);
}

} // namespace ribbon
