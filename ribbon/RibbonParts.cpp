#include "ribbon/RibbonParts.h"

namespace ribbon {

namespace {

const QString CaptionFont = QStringLiteral("Verdana");

void designImage(RibbonImage *image, float left, float top, float width, float height, bool stretch = false)
{
    image->setStretch(stretch);
    image->setTwipsGeometry(left, top, width, height);
}

void designCaption(RibbonLabel *label, float left, float top, float width, float height, const QString &caption,
                   double pointSize, bool centred = false)
{
    label->setTwipsGeometry(left, top, width, height);
    label->setTextFont(CaptionFont, pointSize);
    label->setCentred(centred);
    label->setAutoSize(true);
    label->setCaption(caption);
}

// An overlay: no text, nothing drawn, catches the mouse over its element.
void designOverlay(RibbonLabel *label, float left, float top, float width, float height)
{
    label->setTwipsGeometry(left, top, width, height);
    label->setTracksMouse(true);
}

} // namespace

// Members are created in declaration order, which is also their initial
// stacking order: the band lowest, everything else above it.
RibbonParts::RibbonParts(QWidget *surface)
    : Barra2(new RibbonImage(surface)), BarraLeft(new RibbonImage(surface)), BarraRight(new RibbonImage(surface)),
      Tab_left(surface), Tab_center(surface), Tab_right(surface), Tab_left_over(surface), Tab_center_over(surface),
      Tab_right_over(surface), Tab_caption(surface), TabMouse(surface), Cat_Left_off(surface),
      Cat_Center_off(surface), Cat_Right_off(surface), Cat_Left_on(surface), Cat_Center_on(surface),
      Cat_Right_on(surface), Cat_Caption(surface), CatMouse(surface), Cat_Dlg(surface), Cat_Dlg_on(surface),
      Cat_Dlg_over(surface), Button_left(surface), Button_center(surface), Button_right(surface),
      Button_left_over(surface), Button_center_over(surface), Button_right_over(surface), Button_Icon(surface),
      Button_Caption(surface), Glip_off(surface), Glip_on(surface), ButMouse(surface)
{
    designImage(Barra2, 0, -390, 30720, 2130, true);
    designImage(BarraLeft, 0, -390, 105, 2130);
    designImage(BarraRight, 0, -390, 105, 2130);
    for (RibbonImage *band : {Barra2, BarraLeft, BarraRight}) {
        band->setTracksMouse(true);
        band->show();
    }

    designImage(Tab_left.templ(), 1680, 120, 150, 360);
    designImage(Tab_center.templ(), 1920, 120, 270, 360, true);
    designImage(Tab_right.templ(), 2280, 120, 150, 360);
    designImage(Tab_left_over.templ(), 1680, 600, 150, 360);
    designImage(Tab_center_over.templ(), 1920, 600, 270, 360, true);
    designImage(Tab_right_over.templ(), 2280, 600, 150, 360);
    designCaption(Tab_caption.templ(), 840, 180, 690, 240, QStringLiteral("Aba 01"), 9.75);
    designOverlay(TabMouse.templ(), 2520, 120, 735, 360);

    designImage(Cat_Left_off.templ(), 5040, 150, 60, 1335);
    designImage(Cat_Center_off.templ(), 5160, 150, 75, 1335, true);
    designImage(Cat_Right_off.templ(), 5400, 150, 75, 1335);
    designImage(Cat_Left_on.templ(), 5760, 150, 60, 1335);
    designImage(Cat_Center_on.templ(), 5880, 150, 60, 1335, true);
    designImage(Cat_Right_on.templ(), 6120, 150, 75, 1335);
    designCaption(Cat_Caption.templ(), 5040, 1200, 630, 240, QStringLiteral("Category"), 9.75);
    designOverlay(CatMouse.templ(), 4560, 150, 375, 1350);
    designImage(Cat_Dlg.templ(), 3600, 1320, 225, 210);
    designImage(Cat_Dlg_on.templ(), 3840, 1320, 225, 210);
    designImage(Cat_Dlg_over.templ(), 4080, 1320, 225, 210);
    Cat_Dlg.templ()->setTracksMouse(true);
    Cat_Dlg_on.templ()->setTracksMouse(true);

    designImage(Button_left.templ(), 960, 1800, 45, 990);
    designImage(Button_center.templ(), 1080, 1800, 735, 990, true);
    designImage(Button_right.templ(), 1920, 1800, 45, 990);
    designImage(Button_left_over.templ(), 2520, 1800, 45, 990);
    designImage(Button_center_over.templ(), 2640, 1800, 735, 990, true);
    designImage(Button_right_over.templ(), 3480, 1800, 45, 990);
    designImage(Button_Icon.templ(), 1320, 1920, 615, 495);
    designCaption(Button_Caption.templ(), 1440, 2520, 510, 180, QStringLiteral("Button"), 6.75, true);
    designImage(Glip_off.templ(), 2160, 1560, 75, 60);
    designImage(Glip_on.templ(), 2280, 1560, 75, 60);
    designOverlay(ButMouse.templ(), 2040, 1800, 375, 990);
}

void RibbonParts::placeBandEnds(float controlWidthTwips)
{
    BarraLeft->setLeft(0);
    BarraRight->setLeft(controlWidthTwips - BarraRight->Width());
}

} // namespace ribbon
