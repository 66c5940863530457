#include "ribbon/TabStripLayout.h"

#include "ribbon/ElementOps.h"
#include "ribbon/RibbonModel.h"
#include "ribbon/RibbonParts.h"
#include "ribbon/RibbonTheme.h"

namespace ribbon {

namespace {

constexpr float FirstTabLeft = 90;
constexpr float CaptionTop = 60;

void placeTab(RibbonParts &p, int i, const QString &caption, quint32 captionColor)
{
    RibbonImage *left = p.Tab_left(i);
    RibbonImage *center = p.Tab_center(i);
    RibbonImage *right = p.Tab_right(i);
    RibbonLabel *label = p.Tab_caption(i);
    RibbonLabel *mouse = p.TabMouse(i);

    left->setLeft(i == 0 ? FirstTabLeft : p.Tab_right(i - 1)->Left() + right->Width());
    mouse->setLeft(left->Left());

    label->setTop(CaptionTop);
    for (RibbonElement *piece : ElementList{center, left, right, p.Tab_center_over(i), p.Tab_left_over(i),
                                            p.Tab_right_over(i), mouse})
        piece->setTop(0);

    label->setCaption(caption);
    center->setWidth(label->Width());
    center->setLeft(left->Left() + left->Width());
    label->setLeft(center->Left());
    right->setLeft(center->Left() + center->Width());

    p.Tab_center_over(i)->setWidth(center->Width());
    p.Tab_center_over(i)->setLeft(center->Left());
    p.Tab_left_over(i)->setLeft(left->Left());
    p.Tab_right_over(i)->setLeft(right->Left());

    mouse->setWidth(left->Width() + center->Width() + right->Width());

    label->setForeColor(captionColor);
    label->show();
    mouse->show();

    center->BringToFront();
    left->BringToFront();
    right->BringToFront();
    p.Tab_center_over(i)->BringToFront();
    p.Tab_left_over(i)->BringToFront();
    p.Tab_right_over(i)->BringToFront();
    label->BringToFront();
    mouse->BringToFront();
}

} // namespace

int selectedTabIndex(const RibbonModel &model)
{
    for (int i = 0; i < model.TabCount(); ++i)
        if (model.tab(i).id == model.CurrentTab())
            return i;
    return 0;
}

void LayoutTabs(RibbonParts &parts, const RibbonModel &model, const ThemeColors &colors)
{
    const int count = model.TabCount();
    for (int i = 1; i < count; ++i)
        parts.forEachTabArray([i](auto &array) { array.Unload(i); });

    for (int i = 0; i < count; ++i) {
        if (i != 0)
            parts.forEachTabArray([i](auto &array) { array.Load(i); });
        placeTab(parts, i, model.tab(i).caption, colors.tabCaption);
    }
    if (count > 0)
        ShowSelectedTab(parts, selectedTabIndex(model), colors);
}

void ShowSelectedTab(RibbonParts &parts, int index, const ThemeColors &colors)
{
    for (int k = 0; k <= parts.TabMouse.UBound(); ++k) {
        const bool selected = k == index;
        if (RibbonLabel *caption = parts.Tab_caption(k))
            caption->setForeColor(selected ? colors.selectedTabCaption : colors.tabCaption);
        setShown(parts.Tab_center, k, selected);
        setShown(parts.Tab_left, k, selected);
        setShown(parts.Tab_right, k, selected);
    }
}

} // namespace ribbon
