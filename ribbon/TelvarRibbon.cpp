#include "ribbon/TelvarRibbon.h"

#include "ribbon/RibbonParts.h"
#include "ribbon/RibbonTheme.h"

#include <QResizeEvent>

TelvarRibbon::TelvarRibbon(QWidget *parent)
    : QWidget(parent), model_(std::make_unique<ribbon::RibbonModel>()),
      parts_(std::make_unique<ribbon::RibbonParts>()), theme_(std::make_unique<ribbon::RibbonTheme>())
{
    setFixedHeight(116);
}

TelvarRibbon::~TelvarRibbon() = default;

void TelvarRibbon::Refresh() { UserControl_Resize(); }
void TelvarRibbon::Resize() { UserControl_Resize(); }
void TelvarRibbon::AddTab(const QString &zID, const QString &zCaption) { model_->AddTab(zID, zCaption); }
void TelvarRibbon::AddCat(const QString &zID, const QString &zTab, const QString &zCaption, bool zDlgButton)
{
    model_->AddCat(zID, zTab, zCaption, zDlgButton);
}
void TelvarRibbon::AddButton(const QString &zID, const QString &zSubCat, const QString &zCaption, qint16 zPicture,
                             bool zMore, const QString &zToolTip)
{
    model_->AddButton(zID, zSubCat, zCaption, zPicture, zMore, zToolTip);
}
qint16 TelvarRibbon::Theme() const { return model_->StoredTheme(); }
void TelvarRibbon::SetTheme(int New_Theme) { model_->setStoredTheme(qint16(New_Theme < 0 || New_Theme > 2 ? 0 : New_Theme)); }
bool TelvarRibbon::ButtonCenter() const { return model_->ButtonCenterFlag(); }
void TelvarRibbon::SetButtonCenter(bool New_BC) { model_->setButtonCenterFlag(New_BC); }
QPixmap TelvarRibbon::LoadBackground() const { return QPixmap(); }
void TelvarRibbon::SetImageList(const platform::ImageList &zImageList) { model_->setImageList(zImageList); }
quint32 TelvarRibbon::BackColor() const { return theme_->backColor; }
quint32 TelvarRibbon::ForeColor() const { return theme_->foreColor; }
void TelvarRibbon::ReadProperties(const QVariantMap &) {}
QVariantMap TelvarRibbon::WriteProperties() const { return {}; }
const ribbon::RibbonModel &TelvarRibbon::model() const { return *model_; }
const ribbon::RibbonParts &TelvarRibbon::parts() const { return *parts_; }
void TelvarRibbon::resizeEvent(QResizeEvent *event) { QWidget::resizeEvent(event); }
void TelvarRibbon::UserControl_Resize() {}
void TelvarRibbon::LayoutTabs() {}
void TelvarRibbon::LayoutCategories() {}
void TelvarRibbon::SelectTab(int) {}
void TelvarRibbon::connectElements() {}
