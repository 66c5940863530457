#include "ribbon/CategoryLayout.h"

#include "platform/EventPump.h"
#include "ribbon/ElementOps.h"
#include "ribbon/RibbonModel.h"
#include "ribbon/RibbonParts.h"

#include <QPointer>
#include <QWidget>

#include <vector>

namespace ribbon {

namespace {

constexpr float CategoryTop = 360;
constexpr float CategoryCaptionTop = 1400;
constexpr float FirstCategoryLeft = 120;
constexpr float ButtonTopBelowFrame = 60;
constexpr float ButtonGap = 30;
constexpr float IconTopUncentred = 90;
constexpr float LauncherInset = 15;
constexpr float LauncherLift = 60;

void placeTemplatesVertically(RibbonParts &p)
{
    for (RibbonElement *element : ElementList{p.Cat_Center_off.templ(), p.Cat_Center_on.templ(),
                                              p.Cat_Left_off.templ(), p.Cat_Left_on.templ(),
                                              p.Cat_Right_off.templ(), p.Cat_Right_on.templ(), p.CatMouse.templ()})
        element->setTop(CategoryTop);
    p.Cat_Caption.templ()->setTop(CategoryCaptionTop);
}

void hideTemplates(RibbonParts &p)
{
    for (RibbonElement *element : ElementList{p.Button_left.templ(), p.Button_center.templ(),
                                              p.Button_right.templ(), p.Button_Caption.templ(),
                                              p.Button_Icon.templ(), p.ButMouse.templ(), p.Cat_Left_off.templ(),
                                              p.Cat_Left_on.templ(), p.Cat_Right_off.templ(),
                                              p.Cat_Right_on.templ(), p.Cat_Center_off.templ(),
                                              p.Cat_Center_on.templ(), p.Cat_Caption.templ(), p.CatMouse.templ(),
                                              p.Cat_Dlg.templ(), p.Cat_Dlg_on.templ(), p.Cat_Dlg_over.templ()})
        element->hide();
}

// The categories of the current tab, in the order of adding.
std::vector<CategoryEntry> categoriesOfCurrentTab(const RibbonModel &model)
{
    std::vector<CategoryEntry> taken;
    const QString &current = model.CurrentTab();
    if (current.isEmpty())
        return taken;
    for (int k = 0; k < model.CatCount(); ++k) {
        const CategoryEntry &category = model.category(k);
        if (!category.tab.isEmpty() && category.tab == current)
            taken.push_back(category);
    }
    return taken;
}

std::vector<ButtonEntry> buttonsOfCategory(const RibbonModel &model, const QString &categoryId)
{
    std::vector<ButtonEntry> taken;
    for (int k = 0; k < model.ButCount(); ++k)
        if (model.button(k).category == categoryId)
            taken.push_back(model.button(k));
    return taken;
}

void placeCategory(RibbonParts &p, const RibbonModel &model, int j, const CategoryEntry &category)
{
    if (j != 0)
        p.forEachCategoryArray([j](auto &array) { array.Load(j); });
    RibbonImage *left = p.Cat_Left_off(j);
    RibbonImage *center = p.Cat_Center_off(j);
    RibbonImage *right = p.Cat_Right_off(j);
    RibbonLabel *caption = p.Cat_Caption(j);
    RibbonLabel *mouse = p.CatMouse(j);
    RibbonImage *launcher = p.Cat_Dlg(j);

    left->setLeft(j == 0 ? FirstCategoryLeft : p.Cat_Right_off(j - 1)->Left() + right->Width());
    mouse->setLeft(left->Left());
    caption->setCaption(category.caption);
    caption->setTag(category.id);
    center->setLeft(left->Left() + left->Width());

    const qint16 buttonsWidth =
        LayoutButtons(p, model, category.id, toInt16(center->Left()), qint16(j));

    center->setWidth(category.dlgButton ? caption->Width() + launcher->Width() : caption->Width());
    if (center->Width() < buttonsWidth) {
        center->setWidth(buttonsWidth);
        caption->setLeft((center->Width() - caption->Width()) / 2 + center->Left());
    } else {
        caption->setLeft(center->Left());
    }
    right->setLeft(center->Left() + center->Width());

    p.Cat_Center_on(j)->setWidth(center->Width());
    p.Cat_Center_on(j)->setLeft(center->Left());
    p.Cat_Left_on(j)->setLeft(left->Left());
    p.Cat_Right_on(j)->setLeft(right->Left());

    mouse->setWidth(left->Width() + right->Width() + center->Width());

    caption->show();
    center->show();
    left->show();
    right->show();
    mouse->show();

    center->BringToFront();
    left->BringToFront();
    right->BringToFront();
    p.Cat_Center_on(j)->BringToFront();
    p.Cat_Left_on(j)->BringToFront();
    p.Cat_Right_on(j)->BringToFront();
    caption->BringToFront();
    mouse->BringToFront();

    launcher->setLeft(right->Left() - launcher->Width() + LauncherInset);
    launcher->setTop(right->Top() + right->Height() - (launcher->Height() + LauncherLift));
    for (RibbonImage *look : {p.Cat_Dlg_on(j), p.Cat_Dlg_over(j)}) {
        look->setLeft(launcher->Left());
        look->setTop(launcher->Top());
        look->hide();
    }
    if (category.dlgButton)
        launcher->show();
    launcher->BringToFront();
    p.Cat_Dlg_on(j)->BringToFront();
    p.Cat_Dlg_over(j)->BringToFront();
}

// Every button above the category frames and overlays, its frame hidden until
// the pointer reaches it.
void raiseButtons(RibbonParts &p)
{
    for (int b = 0; b <= p.ButMouse.UBound(); ++b) {
        for (ImageArray *frame : {&p.Button_left, &p.Button_right, &p.Button_center, &p.Button_left_over,
                                  &p.Button_right_over, &p.Button_center_over}) {
            setShown(*frame, b, false);
            bringToFront(*frame, b);
        }
        bringToFront(p.Button_Icon, b);
        bringToFront(p.Button_Caption, b);
        bringToFront(p.Glip_off, b);
        bringToFront(p.Glip_on, b);
        bringToFront(p.ButMouse, b);
    }
}

void placeButton(RibbonParts &p, const RibbonModel &model, int b, bool first, qint16 startLeft, qint16 categorySlot,
                 const ButtonEntry &e)
{
    p.forEachButtonArray([b](auto &array) { array.Load(b); });
    RibbonLabel *mouse = p.ButMouse(b);
    RibbonImage *left = p.Button_left(b);
    RibbonImage *center = p.Button_center(b);
    RibbonImage *right = p.Button_right(b);
    RibbonImage *icon = p.Button_Icon(b);
    RibbonLabel *caption = p.Button_Caption(b);
    RibbonImage *glyph = p.Glip_off(b);
    RibbonImage *glyphOn = p.Glip_on(b);

    mouse->setTag(e.id);
    center->setTag(QString::number(categorySlot));

    mouse->setTop(p.Cat_Left_off.templ()->Top() + ButtonTopBelowFrame);
    for (RibbonImage *piece : {left, center, right, p.Button_left_over(b), p.Button_center_over(b),
                               p.Button_right_over(b)})
        piece->setTop(mouse->Top());

    if (first) {
        mouse->setLeft(startLeft);
    } else {
        const RibbonLabel *previous = p.ButMouse(b - 1);
        mouse->setLeft(previous->Left() + previous->Width() + ButtonGap);
    }

    left->setLeft(mouse->Left());
    p.Button_left_over(b)->setLeft(left->Left());
    center->setLeft(left->Left() + left->Width());
    p.Button_center_over(b)->setLeft(center->Left());

    caption->setCaption(e.caption);
    icon->setPicture(e.picture);

    if (model.ButtonCenterFlag()) {
        const float free = center->Height() - (icon->Height() + caption->Height());
        icon->setTop(e.more ? center->Top() + (free - caption->Height() / 2) / 2 : center->Top() + free / 2);
    } else {
        icon->setTop(center->Top() + IconTopUncentred);
    }
    caption->setTop(icon->Top() + icon->Height());
    glyph->setTop(caption->Top() + caption->Height() + (caption->Height() - glyph->Height()) / 2);
    glyphOn->setTop(glyph->Top());

    float contentWidth;
    if (caption->Width() > icon->Width()) {
        caption->setLeft(center->Left());
        icon->setLeft(caption->Left() + (caption->Width() - icon->Width()) / 2);
        contentWidth = caption->Width();
    } else {
        icon->setLeft(center->Left());
        caption->setLeft(icon->Left() + (icon->Width() - caption->Width()) / 2);
        contentWidth = icon->Width();
    }
    glyph->setLeft((caption->Width() - glyphOn->Width()) / 2 + caption->Left());
    glyphOn->setLeft(glyph->Left());

    center->setWidth(contentWidth);
    p.Button_center_over(b)->setWidth(center->Width());
    right->setLeft(center->Left() + center->Width());
    p.Button_right_over(b)->setLeft(right->Left());
    mouse->setWidth(left->Width() + center->Width() + right->Width());
    mouse->setToolTipText(e.toolTip);

    icon->show();
    caption->show();
    mouse->show();
    if (e.more) {
        glyph->show();
        glyph->BringToFront();
        glyphOn->BringToFront();
    }
}

} // namespace

void LayoutCategories(RibbonParts &parts, const RibbonModel &model, QWidget *surface)
{
    placeTemplatesVertically(parts);
    const std::vector<CategoryEntry> shown = categoriesOfCurrentTab(model);

    for (int k = parts.CatMouse.UBound(); k >= 1; --k)
        parts.forEachCategoryArray([k](auto &array) { array.Unload(k); });
    for (int k = parts.Button_center.UBound(); k >= 1; --k)
        parts.forEachButtonArray([k](auto &array) { array.Unload(k); });
    hideTemplates(parts);

    for (int j = 0; j < int(shown.size()); ++j)
        placeCategory(parts, model, j, shown[std::size_t(j)]);

    QPointer<QWidget> alive(surface);
    platform::serviceEvents();
    if (!alive)
        return;
    raiseButtons(parts);
}

qint16 LayoutButtons(RibbonParts &parts, const RibbonModel &model, const QString &categoryId, qint16 startLeft,
                     qint16 categorySlot)
{
    float sum = 0;
    const std::vector<ButtonEntry> buttons = buttonsOfCategory(model, categoryId);
    const int first = parts.ButMouse.UBound() + 1;
    for (int n = 0; n < int(buttons.size()); ++n) {
        const int b = first + n;
        placeButton(parts, model, b, n == 0, startLeft, categorySlot, buttons[std::size_t(n)]);
        sum += parts.ButMouse(b)->Width() + ButtonGap;
    }
    return toInt16(sum - ButtonGap);
}

} // namespace ribbon
