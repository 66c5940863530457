#include "ribbon/TelvarRibbon.h"

#include "platform/Twips.h"
#include "ribbon/CategoryLayout.h"
#include "ribbon/ElementOps.h"
#include "ribbon/RibbonAccessibility.h"
#include "ribbon/RibbonHover.h"
#include "ribbon/RibbonKeyboard.h"
#include "ribbon/RibbonParts.h"
#include "ribbon/RibbonTheme.h"
#include "ribbon/TabStripLayout.h"

#include <QPointer>
#include <QResizeEvent>

namespace {

constexpr float HiddenBandTop = 390; // the band's upper part lies above the control
constexpr quint32 DefaultBackColor = 0x464646;
constexpr quint32 DefaultForeColor = 0xFFFFFF;

const QString ThemeKey = QStringLiteral("Theme");
const QString ButtonCenterKey = QStringLiteral("ButtonCenter");
const QString BackColorKey = QStringLiteral("BackColor");
const QString ForeColorKey = QStringLiteral("ForeColor");

} // namespace

TelvarRibbon::TelvarRibbon(QWidget *parent)
    : QWidget(parent), model_(std::make_unique<ribbon::RibbonModel>()),
      parts_(std::make_unique<ribbon::RibbonParts>(this)), theme_(std::make_unique<ribbon::RibbonTheme>())
{
    ribbon::installRibbonAccessibility();
    setAutoFillBackground(true);
    applySurfaceColor();
    wireMouse();
    keyboard_ = new ribbon::RibbonKeyboard(this);
    UserControl_Resize();
}

TelvarRibbon::~TelvarRibbon() = default;

void TelvarRibbon::Refresh()
{
    UserControl_Resize();
    ribbon::LayoutTabs(*parts_, *model_, theme_->colors());
    ribbon::LayoutCategories(*parts_, *model_, this);
}

void TelvarRibbon::Resize()
{
    UserControl_Resize();
}

void TelvarRibbon::UserControl_Resize()
{
    setFixedHeight(platform::twipsToPixels(parts_->Barra2->Height() - HiddenBandTop));
}

void TelvarRibbon::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
    parts_->placeBandEnds(platform::pixelsToTwips(width()));
}

void TelvarRibbon::AddTab(const QString &zID, const QString &zCaption)
{
    model_->AddTab(zID, zCaption);
}

void TelvarRibbon::AddCat(const QString &zID, const QString &zTab, const QString &zCaption, bool zDlgButton)
{
    model_->AddCat(zID, zTab, zCaption, zDlgButton);
}

void TelvarRibbon::AddButton(const QString &zID, const QString &zSubCat, const QString &zCaption, qint16 zPicture,
                             bool zMore, const QString &zToolTip)
{
    model_->AddButton(zID, zSubCat, zCaption, zPicture, zMore, zToolTip);
}

qint16 TelvarRibbon::Theme() const
{
    return model_->StoredTheme();
}

void TelvarRibbon::SetTheme(int New_Theme)
{
    const qint16 theme = qint16(New_Theme < 0 || New_Theme >= ribbon::RibbonTheme::ThemeCount ? 0 : New_Theme);
    model_->setStoredTheme(theme);
    QPointer<TelvarRibbon> alive(this);
    emit PropertyChanged(ThemeKey);
    if (!alive)
        return;
    theme_->ApplyColors(theme, *parts_);
    applySurfaceColor();
    theme_->ApplyPictures(theme, *parts_);
}

bool TelvarRibbon::ButtonCenter() const
{
    return model_->ButtonCenterFlag();
}

void TelvarRibbon::SetButtonCenter(bool New_BC)
{
    model_->setButtonCenterFlag(New_BC);
    emit PropertyChanged(ButtonCenterKey);
}

QPixmap TelvarRibbon::LoadBackground() const
{
    return ribbon::RibbonTheme::LoadBackground(model_->StoredTheme());
}

void TelvarRibbon::SetImageList(const platform::ImageList &zImageList)
{
    model_->setImageList(zImageList);
}

quint32 TelvarRibbon::BackColor() const
{
    return theme_->colors().back;
}

quint32 TelvarRibbon::ForeColor() const
{
    return theme_->colors().fore;
}

void TelvarRibbon::ReadProperties(const QVariantMap &stored)
{
    model_->setStoredTheme(qint16(stored.value(ThemeKey, 0).toInt()));
    model_->setButtonCenterFlag(stored.value(ButtonCenterKey, false).toBool());
}

QVariantMap TelvarRibbon::WriteProperties() const
{
    QVariantMap stored;
    if (model_->StoredTheme() != 0)
        stored.insert(ThemeKey, int(model_->StoredTheme()));
    if (model_->ButtonCenterFlag())
        stored.insert(ButtonCenterKey, true);
    if (BackColor() != DefaultBackColor)
        stored.insert(BackColorKey, BackColor());
    if (ForeColor() != DefaultForeColor)
        stored.insert(ForeColorKey, ForeColor());
    return stored;
}

std::optional<ribbon::ShownPart> TelvarRibbon::keyboardStop() const
{
    return keyboard_->current();
}

const ribbon::RibbonModel &TelvarRibbon::model() const
{
    return *model_;
}

const ribbon::RibbonParts &TelvarRibbon::parts() const
{
    return *parts_;
}

void TelvarRibbon::applySurfaceColor()
{
    QPalette surface = palette();
    surface.setColor(QPalette::Window, ribbon::colorFromValue(BackColor()));
    surface.setColor(QPalette::WindowText, ribbon::colorFromValue(ForeColor()));
    setPalette(surface);
}

// ---- mouse ----------------------------------------------------------------

void TelvarRibbon::wireMouse()
{
    using ribbon::RibbonElement;
    ribbon::RibbonParts &p = *parts_;
    for (ribbon::RibbonImage *band : {p.Barra2, p.BarraLeft, p.BarraRight})
        connect(band, &RibbonElement::MouseMove, this, [this] { ribbon::HoverNothing(*parts_); });

    p.TabMouse.setOnLoad([this](int i, RibbonElement *overlay) {
        connect(overlay, &RibbonElement::MouseMove, this, [this, i] { onTabMove(i); });
        connect(overlay, &RibbonElement::Click, this, [this, i] { SelectTab(i); });
    });
    p.CatMouse.setOnLoad([this](int i, RibbonElement *overlay) {
        connect(overlay, &RibbonElement::MouseMove, this, [this, i] { onCategoryMove(i); });
    });
    p.Cat_Dlg.setOnLoad([this](int i, RibbonElement *launcher) {
        connect(launcher, &RibbonElement::MouseMove, this, [this, i] { onCategoryMove(i); });
    });
    p.Cat_Dlg_on.setOnLoad([this](int i, RibbonElement *launcher) {
        connect(launcher, &RibbonElement::MouseMove, this, [this, i] {
            onCategoryMove(i);
            ribbon::setShown(parts_->Cat_Dlg_over, i, true);
        });
    });
    p.Cat_Dlg_over.setOnLoad([this](int i, RibbonElement *launcher) {
        connect(launcher, &RibbonElement::Click, this, [this, i] { raiseCatClick(i); });
    });
    p.ButMouse.setOnLoad([this](int i, RibbonElement *overlay) {
        connect(overlay, &RibbonElement::MouseMove, this, [this, i] { onButtonMove(i); });
        connect(overlay, &RibbonElement::MouseDown, this, [this, i] { onButtonPress(i, true); });
        connect(overlay, &RibbonElement::MouseUp, this, [this, i] { onButtonPress(i, false); });
        connect(overlay, &RibbonElement::Click, this, [this, i] { raiseButtonClick(i); });
    });
}

void TelvarRibbon::onTabMove(int index)
{
    ribbon::HoverTab(*parts_, index);
    ribbon::HoverCategory(*parts_, -1);
    ribbon::HoverButton(*parts_, -1);
}

void TelvarRibbon::onCategoryMove(int index)
{
    ribbon::HoverTab(*parts_, -1);
    ribbon::HoverCategory(*parts_, index);
    ribbon::HoverButton(*parts_, -1);
}

void TelvarRibbon::onButtonMove(int index)
{
    const ribbon::RibbonImage *center = parts_->Button_center(index);
    const int category = center ? ribbon::toInt16(float(center->Tag().toInt())) : -1;
    ribbon::HoverTab(*parts_, -1);
    ribbon::HoverCategory(*parts_, category);
    ribbon::HoverButton(*parts_, index);
}

void TelvarRibbon::onButtonPress(int index, bool pressed)
{
    ribbon::setShown(parts_->Button_left_over, index, pressed);
    ribbon::setShown(parts_->Button_center_over, index, pressed);
    ribbon::setShown(parts_->Button_right_over, index, pressed);
}

// The host's handler runs inside each emit and may destroy this ribbon, so
// everything an event carries is read before it and nothing is touched after.

void TelvarRibbon::SelectTab(int index)
{
    if (index < 0 || index >= model_->TabCount())
        return;
    ribbon::HoverTab(*parts_, -1);
    ribbon::ShowSelectedTab(*parts_, index, theme_->colors());
    const ribbon::TabEntry tab = model_->tab(index);
    model_->setCurrentTab(tab.id);

    QPointer<TelvarRibbon> alive(this);
    ribbon::LayoutCategories(*parts_, *model_, this);
    if (!alive)
        return;
    emit TabClick(tab.id, tab.caption);
}

void TelvarRibbon::raiseCatClick(int index)
{
    const ribbon::RibbonLabel *caption = parts_->Cat_Caption(index);
    if (!caption)
        return;
    const QString id = caption->Tag();
    const QString text = caption->Caption();
    emit CatClick(id, text);
}

void TelvarRibbon::raiseButtonClick(int index)
{
    const ribbon::RibbonLabel *overlay = parts_->ButMouse(index);
    const ribbon::RibbonLabel *caption = parts_->Button_Caption(index);
    if (!overlay || !caption)
        return;
    const QString id = overlay->Tag();
    const QString text = caption->Caption();
    emit ButtonClick(id, text);
}
