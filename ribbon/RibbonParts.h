#pragma once
// Every element of the ribbon's surface, under the names the layout and the
// mouse handling use. Arrays hold their design templates as element 0; the
// three background-band pictures are single elements.

#include "ribbon/ElementArray.h"
#include "ribbon/RibbonImage.h"
#include "ribbon/RibbonLabel.h"

namespace ribbon {

using ImageArray = ElementArray<RibbonImage>;
using LabelArray = ElementArray<RibbonLabel>;

class RibbonParts {
public:
    explicit RibbonParts(QWidget *surface);

    // The band across the whole control; its height fixes the control's height.
    RibbonImage *Barra2;
    RibbonImage *BarraLeft;
    RibbonImage *BarraRight;

    // Tab strip.
    ImageArray Tab_left, Tab_center, Tab_right;
    ImageArray Tab_left_over, Tab_center_over, Tab_right_over;
    LabelArray Tab_caption;
    LabelArray TabMouse;

    // Categories.
    ImageArray Cat_Left_off, Cat_Center_off, Cat_Right_off;
    ImageArray Cat_Left_on, Cat_Center_on, Cat_Right_on;
    LabelArray Cat_Caption;
    LabelArray CatMouse;
    ImageArray Cat_Dlg, Cat_Dlg_on, Cat_Dlg_over;

    // Buttons.
    ImageArray Button_left, Button_center, Button_right;
    ImageArray Button_left_over, Button_center_over, Button_right_over;
    ImageArray Button_Icon;
    LabelArray Button_Caption;
    ImageArray Glip_off, Glip_on;
    LabelArray ButMouse;

    // Every array that one tab, category or button slot uses, in the order
    // their elements are created (later ones lie above earlier ones), so that
    // creating and destroying a slot name them once.
    template <class Fn> void forEachTabArray(Fn fn)
    {
        fn(Tab_caption), fn(Tab_left), fn(Tab_center), fn(Tab_right);
        fn(Tab_left_over), fn(Tab_center_over), fn(Tab_right_over), fn(TabMouse);
    }
    template <class Fn> void forEachCategoryArray(Fn fn)
    {
        fn(Cat_Left_off), fn(Cat_Left_on), fn(Cat_Right_off), fn(Cat_Right_on);
        fn(Cat_Center_off), fn(Cat_Center_on), fn(Cat_Caption), fn(CatMouse);
        fn(Cat_Dlg), fn(Cat_Dlg_on), fn(Cat_Dlg_over);
    }
    template <class Fn> void forEachButtonArray(Fn fn)
    {
        fn(Button_left), fn(Button_center), fn(Button_right);
        fn(Button_left_over), fn(Button_center_over), fn(Button_right_over);
        fn(Button_Caption), fn(Button_Icon), fn(Glip_on), fn(Glip_off), fn(ButMouse);
    }

    // Keeps the right end of the band at the right edge of a control this wide.
    void placeBandEnds(float controlWidthTwips);
};

} // namespace ribbon
