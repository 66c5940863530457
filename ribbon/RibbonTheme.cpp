#include "ribbon/RibbonTheme.h"

#include "ribbon/ColorValue.h"
#include "ribbon/ResourcePicture.h"
#include "ribbon/RibbonParts.h"

#include <array>

namespace ribbon {

namespace {

constexpr std::array<ThemeColors, RibbonTheme::ThemeCount> Colors{{
    // BLACK
    {colorValue(255, 255, 255), colorValue(255, 255, 255), colorValue(0, 0, 0), SystemWindowText,
     colorValue(70, 70, 70), colorValue(255, 255, 255)},
    // BLUE
    {colorValue(62, 106, 184), colorValue(21, 66, 139), colorValue(21, 66, 139), colorValue(21, 66, 139),
     colorValue(142, 176, 218), colorValue(21, 66, 139)},
    // SILVER
    {colorValue(92, 98, 106), colorValue(92, 98, 106), colorValue(92, 98, 106), colorValue(92, 98, 106),
     colorValue(208, 212, 221), colorValue(92, 98, 106)},
}};

constexpr int BackgroundId = 141;

} // namespace

QString RibbonTheme::resourceType(int theme)
{
    switch (theme) {
    case 0: return QStringLiteral("BLACK");
    case 1: return QStringLiteral("BLUE");
    case 2: return QStringLiteral("SILVER");
    default: return QString();
    }
}

const ThemeColors &RibbonTheme::colorsOf(int theme)
{
    return Colors[std::size_t(theme >= 0 && theme < ThemeCount ? theme : 0)];
}

void RibbonTheme::ApplyColors(int theme, RibbonParts &parts)
{
    colors_ = &colorsOf(theme);
    parts.Cat_Caption.templ()->setForeColor(colors_->catCaption);
    parts.Button_Caption.templ()->setForeColor(colors_->buttonCaption);
}

void RibbonTheme::ApplyPictures(int theme, RibbonParts &parts)
{
    const QString type = resourceType(theme);
    struct Assignment {
        int id;
        RibbonImage *image;
    };
    const Assignment order[] = {
        {101, parts.Barra2},
        {102, parts.BarraLeft},
        {103, parts.BarraRight},
        {118, parts.Cat_Dlg.templ()},
        {119, parts.Cat_Dlg_on.templ()},
        {120, parts.Cat_Dlg_over.templ()},
        {121, parts.Cat_Left_off.templ()},
        {122, parts.Cat_Center_off.templ()},
        {123, parts.Cat_Right_off.templ()},
        {124, parts.Cat_Left_on.templ()},
        {125, parts.Cat_Center_on.templ()},
        {126, parts.Cat_Right_on.templ()},
        {127, parts.Tab_left.templ()},
        {128, parts.Tab_center.templ()},
        {129, parts.Tab_right.templ()},
        {130, parts.Tab_left_over.templ()},
        {131, parts.Tab_center_over.templ()},
        {132, parts.Tab_right_over.templ()},
        {133, parts.Glip_off.templ()},
        {134, parts.Glip_on.templ()},
        {135, parts.Button_left_over.templ()},
        {136, parts.Button_center_over.templ()},
        {137, parts.Button_right_over.templ()},
        {138, parts.Button_left.templ()},
        {139, parts.Button_center.templ()},
        {140, parts.Button_right.templ()},
    };
    for (const Assignment &assignment : order)
        assignment.image->setPicture(LoadResourcePicture(assignment.id, type));
}

QPixmap RibbonTheme::LoadBackground(int theme)
{
    return LoadResourcePicture(BackgroundId, resourceType(theme));
}

} // namespace ribbon
