#include "app/FrameRibbon.h"

#include "ribbon/TelvarRibbon.h"

namespace app {

void addFrameRibbonContent(TelvarRibbon &ribbon)
{
    ribbon.SetButtonCenter(false);
    ribbon.AddTab(QStringLiteral("1"), QStringLiteral("Procedures"));
    ribbon.AddCat(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("Procedures"), false);
    ribbon.AddCat(QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("About"), false);
    ribbon.AddCat(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("Exit"), false);
    ribbon.AddButton(QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("Show Procedures"), 1);
    ribbon.AddButton(QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("Exit"), 7, true);
    ribbon.AddButton(QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("About"), 6);
}

} // namespace app
